#pragma once

#include <QIcon>

namespace varelo {

// The pictures on the buttons of the MODBUS windows, drawn at 16 x 16.
QIcon okGlyph();       // a green tick
QIcon restartGlyph();  // a round arrow that starts over

}  // namespace varelo
