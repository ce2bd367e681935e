#pragma once

#include "util/colour.h"
#include "widgets/qt_colour.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPlainTextEdit;
class QWidget;

namespace varelo {

inline constexpr Colour kMaroon = 0x000080;


// A font asked for by name (fontconfig substitutes a font it lacks), with the
// height as the window layouts give it: -11 is a character height of 11 pixels.
QFont fontByName(const QString& family, int height, bool bold = false);

// Text colour of a label or button.
void setTextColour(QWidget* widget, Colour colour);

// A text box holding a table: "Courier New" of the given height in black,
// rows never wrapped and a narrow margin, so that rows line up and fit the box.
void setUpTableMemo(QPlainTextEdit* memo, int fontHeight);

// Moves a window so that its frame sits in the middle of its screen.
void centreOnScreen(QWidget* window);

}  // namespace varelo
