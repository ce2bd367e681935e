#include "widgets/spin_button.h"

#include "widgets/timer_speed_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>

namespace varelo {
namespace {

constexpr int kMinimumWidth = 15;

// The default pictures: a small black triangle pointing up or down.
QPixmap arrowGlyph(bool up) {
    QPixmap glyph(7, 4);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon triangle = up ? QPolygon({QPoint(3, 0), QPoint(7, 4), QPoint(-1, 4)})
                                 : QPolygon({QPoint(-1, 0), QPoint(7, 0), QPoint(3, 4)});
    painter.drawPolygon(triangle);
    return glyph;
}

}  // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(kMinimumWidth);
    up_ = makeButton(&TSpinButton::onUpClick_, true);
    down_ = makeButton(&TSpinButton::onDownClick_, false);
    focused_ = up_;
    resize(sizeHint());
    layoutButtons();
}

TTimerSpeedButton* TSpinButton::makeButton(const Notify TSpinButton::*handler, bool up) {
    auto* button = new TTimerSpeedButton(this);
    button->setAllowTimer(true);
    button->setGlyph(arrowGlyph(up));
    button->setOnClick([this, handler] {
        if (this->*handler) (this->*handler)();
    });
    connect(button, &QAbstractButton::pressed, this, [this, button] { pressed(button); });
    return button;
}

QPixmap TSpinButton::upGlyph() const {
    return up_->glyph();
}
void TSpinButton::setUpGlyph(const QPixmap& glyph) {
    up_->setGlyph(glyph);
}
QPixmap TSpinButton::downGlyph() const {
    return down_->glyph();
}
void TSpinButton::setDownGlyph(const QPixmap& glyph) {
    down_->setGlyph(glyph);
}
int TSpinButton::upNumGlyphs() const {
    return up_->numGlyphs();
}
void TSpinButton::setUpNumGlyphs(int count) {
    up_->setNumGlyphs(count);
}
int TSpinButton::downNumGlyphs() const {
    return down_->numGlyphs();
}
void TSpinButton::setDownNumGlyphs(int count) {
    down_->setNumGlyphs(count);
}

void TSpinButton::pressed(TTimerSpeedButton* button) {
    setFocusedButton(button);
    const auto canTakeFocus = [](const QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible() && !w->hasFocus();
    };
    if (focusControl_ && canTakeFocus(focusControl_))
        focusControl_->setFocus(Qt::MouseFocusReason);
    else if (canTakeFocus(this))
        setFocus(Qt::MouseFocusReason);
}

void TSpinButton::setFocusedButton(TTimerSpeedButton* button) {
    focused_ = button;
    up_->setFocusRect(hasFocus() && button == up_);
    down_->setFocusRect(hasFocus() && button == down_);
}

void TSpinButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            focused_->performClick();
            break;
        case Qt::Key_Up:
            setFocusedButton(up_);
            up_->performClick();
            break;
        case Qt::Key_Down:
            setFocusedButton(down_);
            down_->performClick();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TSpinButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    setFocusedButton(focused_);
}

void TSpinButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    setFocusedButton(focused_);
}

void TSpinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutButtons();
}

// The down button starts one pixel above the bottom of the up button.
void TSpinButton::layoutButtons() {
    const int upHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight - 1, width(), height() - upHeight + 1);
}

}  // namespace varelo
