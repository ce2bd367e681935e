#pragma once

#include <QPixmap>

namespace varelo {

// The about window's picture: a nine-pin serial connector with the trace of one
// character on the line (start bit, eight data bits, stop bit), drawn at 249 x 77.
QPixmap serialLinePicture();

}  // namespace varelo
