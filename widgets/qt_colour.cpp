#include "widgets/qt_colour.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace varelo {
namespace {

QPalette::ColorRole systemRole(Colour colour) {
    switch (colour & 0xFF) {
        case 5:  // window background
            return QPalette::Base;
        case 8:  // window text
            return QPalette::Text;
        case 13:  // highlight
            return QPalette::Highlight;
        case 14:  // highlighted text
            return QPalette::HighlightedText;
        case 18:  // button text
            return QPalette::ButtonText;
        default:  // button face and the rest
            return QPalette::Button;
    }
}

void setRole(QWidget& field, QPalette::ColorRole role, Colour colour) {
    QPalette palette = field.palette();
    palette.setColor(role, toQColor(colour));
    field.setPalette(palette);
}

}  // namespace

QColor toQColor(Colour colour) {
    if (isSystemColour(colour)) return QApplication::palette().color(systemRole(colour));
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

void setFieldBackground(QWidget& field, Colour colour) {
    setRole(field, QPalette::Base, colour);
}

void setFieldTextColour(QWidget& field, Colour colour) {
    setRole(field, QPalette::Text, colour);
}

}  // namespace varelo
