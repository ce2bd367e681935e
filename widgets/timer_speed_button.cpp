#include "widgets/timer_speed_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace varelo {

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { performClick(); });
}

TTimerSpeedButton::~TTimerSpeedButton() = default;

void TTimerSpeedButton::setFocusRect(bool on) {
    if (on == focusRect_) return;
    focusRect_ = on;
    update();
}

void TTimerSpeedButton::setGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    update();
}

void TTimerSpeedButton::setNumGlyphs(int count) {
    numGlyphs_ = count < 1 ? 1 : count;
    update();
}

void TTimerSpeedButton::performClick() {
    if (!onClick_) return;
    try {
        onClick_();
    } catch (...) {
        if (repeatTimer_) repeatTimer_->setEnabled(false);
        throw;
    }
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event) {
    QAbstractButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isDown()) return;
    held_ = true;
    if (!allowTimer_) return;
    if (!repeatTimer_) {
        repeatTimer_ = std::make_unique<FormTimer>(nullptr, kFirstRepeatMs);
        repeatTimer_->setOnTimer([this] { timerExpired(); });
    }
    repeatTimer_->setInterval(kFirstRepeatMs);
    repeatTimer_->setEnabled(true);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    // The ordinary click first (only when released over the button), then the repeating stops.
    QAbstractButton::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    held_ = false;
    if (repeatTimer_) repeatTimer_->setEnabled(false);
}

void TTimerSpeedButton::timerExpired() {
    repeatTimer_->setInterval(kRepeatMs);
    if (held_ && isDown()) performClick();
}

void TTimerSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);

    if (!glyph_.isNull()) {
        int image = 0;
        if (!isEnabled() && numGlyphs_ >= 2) image = 1;
        if (isDown() && numGlyphs_ >= 3) image = 2;
        const int w = glyph_.width() / numGlyphs_;
        const QRect source(image * w, 0, w, glyph_.height());
        QRect target(0, 0, w, glyph_.height());
        target.moveCenter(rect().center());
        if (isDown()) target.translate(1, 1);
        painter.drawPixmap(target, glyph_, source);
    }
    if (focusRect_) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        if (isDown()) focus.rect.translate(1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace varelo
