#pragma once

#include "util/colour.h"

#include <QColor>

class QWidget;

namespace varelo {

// The colour to draw for a platform colour; a system colour is taken from the
// application's palette at the moment it is drawn.
QColor toQColor(Colour colour);

// A field's background and text colours.
void setFieldBackground(QWidget& field, Colour colour);
void setFieldTextColour(QWidget& field, Colour colour);

}  // namespace varelo
