#include "widgets/spin_edit.h"

#include "platform/ui/handler_guard.h"
#include "platform/ui/modal_boxes.h"
#include "widgets/edit_number_rules.h"
#include "widgets/spin_button.h"
#include "widgets/system_edit_locale.h"
#include "widgets/typed_character.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace varelo {
namespace {

constexpr char16_t kEnter = 13;
constexpr char16_t kBackspace = 8;
constexpr int kButtonWidth = 15;
constexpr int kButtonHeight = 17;

}  // namespace

TSpinEdit::TSpinEdit(ModalBoxes& boxes, QWidget* parent)
    : LimitedLineEdit(parent),
      boxes_(boxes),
      button_(new TSpinButton(this)),
      decimal_(systemEditLocale().decimal) {
    button_->resize(kButtonWidth, kButtonHeight);
    button_->setFocusControl(this);
    button_->setCursor(Qt::ArrowCursor);
    button_->setOnUpClick([this] { StepUp(); });
    button_->setOnDownClick([this] { StepDown(); });
    setText(QStringLiteral("0"));
    setMinimumHeight(minimumFieldHeight());
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (onChange_) runGuarded(boxes_, onChange_);
    });
    placeButton();
}

void TSpinEdit::setEditorEnabled(bool on) {
    editorEnabled_ = on;
    setTypingAllowed(on);
}

std::int32_t TSpinEdit::value() const {
    return parseInt32(text().toStdU16String()).value_or(minValue_);
}

void TSpinEdit::setValue(std::int32_t n) {
    writeText(QString::number(ClampValue(n)));
}

std::int32_t TSpinEdit::ClampValue(std::int32_t n) const {
    if (minValue_ == maxValue_) return n;
    if (n < minValue_) return minValue_;
    if (n > maxValue_) return maxValue_;
    return n;
}

void TSpinEdit::StepUp() {
    step(increment_);
}
void TSpinEdit::StepDown() {
    step(-static_cast<std::int64_t>(increment_));
}

// A step beyond the 32-bit range stops at its end instead of wrapping round.
void TSpinEdit::step(std::int64_t delta) {
    if (isReadOnly()) {
        boxes_.beep();
        return;
    }
    const std::int64_t next = std::clamp<std::int64_t>(
        value() + delta, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    setValue(static_cast<std::int32_t>(next));
}

bool TSpinEdit::AcceptsChar(char16_t ch) const {
    if (!editorEnabled_ && (ch >= 32 || ch == kBackspace)) return false;
    return ch == u'+' || ch == u'-' || (ch >= u'0' && ch <= u'9') || ch == decimal_ ||
           (ch < 32 && ch != kEnter);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    UserInput user(*this);
    if (event->key() == Qt::Key_Up) StepUp();
    if (event->key() == Qt::Key_Down) StepDown();
    if ((event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) &&
        (!editorEnabled_ || isReadOnly()))
        return;
    const auto typed = typedCharacter(*event);
    if (typed && !AcceptsChar(*typed)) {
        boxes_.beep();
        // Enter goes on to the window (a dialog's default button) as the edit has no use for it.
        if (*typed == kEnter) event->ignore();
        return;
    }
    LimitedLineEdit::keyPressEvent(event);
}

void TSpinEdit::focusInEvent(QFocusEvent* event) {
    LimitedLineEdit::focusInEvent(event);
    if (autoSelect_ && movesBetweenControls(event->reason()) &&
        !(QApplication::mouseButtons() & Qt::LeftButton))
        selectAll();
}

// An out-of-range number is clamped when the focus leaves; a text that is no
// number stays as it is.
void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    LimitedLineEdit::focusOutEvent(event);
    if (!movesBetweenControls(event->reason())) return;
    const std::int32_t current = value();
    if (ClampValue(current) != current) setValue(ClampValue(current));
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    LimitedLineEdit::resizeEvent(event);
    placeButton();
}

void TSpinEdit::changeEvent(QEvent* event) {
    LimitedLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) setMinimumHeight(minimumFieldHeight());
}

// The character height and a quarter of it, the borders and two pixels.
int TSpinEdit::minimumFieldHeight() const {
    const int fontHeight = fontMetrics().height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    return fontHeight + std::min(systemHeight, fontHeight) / 4 + 4 + 2;
}

// The buttons sit inside the frame on the right; the text keeps clear of them.
void TSpinEdit::placeButton() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int buttonWidth = std::max(button_->width(), kButtonWidth);
    button_->setGeometry(width() - buttonWidth - frame, frame, buttonWidth, height() - 2 * frame);
    setTextMargins(0, 0, buttonWidth + 2, 0);
}

}  // namespace varelo
