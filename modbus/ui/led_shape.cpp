#include "modbus/ui/led_shape.h"

#include "widgets/qt_colour.h"

#include <QPainter>

namespace varelo {

LedShape::LedShape(QWidget* parent, Colour colour) : QWidget(parent), colour_(colour) {}

void LedShape::setColour(Colour colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void LedShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(colour_));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
}

}  // namespace varelo
