#pragma once

#include "util/colour.h"

namespace varelo {

// What the cell model asks of whatever shows it. Rows and columns are 1-based.
// The model calls these only while a display is attached; without one it keeps
// its cells and cursor up to date and the first paint shows them.
class CrtDisplay {
  public:
    virtual ~CrtDisplay() = default;

    // Cells firstColumn..lastColumn of one row changed; show them. lastColumn may
    // lie one beyond the shown columns (the cursor after the last cell).
    virtual void invalidateCells(int row, int firstColumn, int lastColumn) = 0;

    // The deferred full repaint: is one waiting (then take it back, true), queue
    // one (its delivery must call CrtScreen::RepaintAll), or repaint all now.
    virtual bool takeBackRepaint() = 0;
    virtual void postRepaint() = 0;
    virtual void paintAll() = 0;

    // The screen was cleared: fill the whole view with this colour at once.
    virtual void fillBackground(Colour back) = 0;

    virtual void beep() = 0;
};

}  // namespace varelo
