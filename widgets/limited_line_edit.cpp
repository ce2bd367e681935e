#include "widgets/limited_line_edit.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QValidator>

#include <memory>

namespace varelo {

// Refuses a change by the user that grows the text beyond the limit, and every
// change by the user while typing is off. The program's writes always pass.
class TypingLimit final : public QValidator {
  public:
    TypingLimit(QLineEdit& edit, const bool& fromUser) : QValidator(&edit), fromUser_(fromUser) {
        connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { lastText_ = text; });
    }

    State validate(QString& text, int&) const override {
        if (!fromUser_) return Acceptable;
        if (!typingAllowed) return text == lastText_ ? Acceptable : Invalid;
        if (maxLength > 0 && text.size() > maxLength && text.size() > lastText_.size()) return Invalid;
        return Acceptable;
    }

    int maxLength = 0;
    bool typingAllowed = true;

  private:
    const bool& fromUser_;
    QString lastText_;
};

LimitedLineEdit::LimitedLineEdit(QWidget* parent)
    : QLineEdit(parent), limit_(new TypingLimit(*this, fromUser_)) {
    setValidator(limit_);
}

LimitedLineEdit::~LimitedLineEdit() = default;

int LimitedLineEdit::maxLength() const {
    return limit_->maxLength;
}
void LimitedLineEdit::setMaxLength(int length) {
    limit_->maxLength = length < 0 ? 0 : length;
}

bool LimitedLineEdit::typingAllowed() const {
    return limit_->typingAllowed;
}
void LimitedLineEdit::setTypingAllowed(bool allowed) {
    limit_->typingAllowed = allowed;
}

LimitedLineEdit::UserInput::UserInput(LimitedLineEdit& edit) : edit_(edit), saved_(edit.fromUser_) {
    edit_.fromUser_ = true;
}

LimitedLineEdit::UserInput::~UserInput() {
    edit_.fromUser_ = saved_;
}

void LimitedLineEdit::writeText(const QString& text) {
    const bool saved = fromUser_;
    fromUser_ = false;
    setText(text);
    fromUser_ = saved;
}

bool LimitedLineEdit::movesBetweenControls(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event) {
    UserInput user(*this);
    QLineEdit::keyPressEvent(event);
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    UserInput user(*this);
    QLineEdit::inputMethodEvent(event);
}

void LimitedLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    UserInput user(*this);  // a middle-button paste happens here
    QLineEdit::mouseReleaseEvent(event);
}

void LimitedLineEdit::dropEvent(QDropEvent* event) {
    UserInput user(*this);
    QLineEdit::dropEvent(event);
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    // The menu runs here, not as a popup that outlives the event, so that its
    // Paste counts as the user's.
    UserInput user(*this);
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(event->globalPos());
}

}  // namespace varelo
