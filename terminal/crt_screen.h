#pragma once

#include "terminal/crt_display.h"
#include "util/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace varelo {

// What a received CR does: start a new line, or only return to column 1.
enum class TLineBreak : std::uint8_t { CRLF, CR };

struct TCrtCell {
    std::uint8_t Ch;
    Colour BackColor;
    Colour TextColor;
};

// The terminal's character cells and cursor, interpreting a byte stream like a
// simple teletype. The buffer always holds MaxColumns x MaxRows cells; only the
// first Columns x Rows are shown. Knows nothing of windows: it reports what to
// repaint through a CrtDisplay.
class CrtScreen {
  public:
    static constexpr int MaxColumns = 132;
    static constexpr int MaxRows = 25;

    explicit CrtScreen(CrtDisplay* display = nullptr, Colour back = colours::SystemWindow,
                       Colour text = colours::SystemWindowText);

    void setDisplay(CrtDisplay* display) { display_ = display; }

    void WriteBuffer(const std::uint8_t* data, std::size_t count);
    void WriteChar(std::uint8_t c) { WriteBuffer(&c, 1); }

    // Every cell blank in the current colours, cursor home, the view filled at once.
    void ClearScreen();

    // Invalidates cells a..b of the cursor row (nothing if b < a).
    void InvalidateRow(int a, int b);

    // The deferred full repaint: the whole view now, and nothing more is due.
    void RepaintAll();

    // Out-of-range values are ignored; the cursor is pulled inside.
    void SetColumns(int columns);
    void SetRows(int rows);
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

    // Colours given to the cells written from now on.
    void SetBackColor(Colour c) { back_ = c; }
    void SetTextColor(Colour c) { text_ = c; }
    Colour BackColor() const { return back_; }
    Colour TextColor() const { return text_; }

    void SetLineBreak(TLineBreak lb) { lineBreak_ = lb; }
    TLineBreak LineBreak() const { return lineBreak_; }

    int CurX() const { return curX_; }
    int CurY() const { return curY_; }
    bool RepaintPending() const { return repaintPending_; }
    int ScrollCount() const { return scrollCount_; }

    // Row 1..MaxRows as MaxColumns contiguous cells (column 1 first).
    const TCrtCell* row(int y) const { return cells_[physicalRow(y)].data(); }
    const TCrtCell& cell(int x, int y) const { return row(y)[x - 1]; }

  private:
    using Row = std::array<TCrtCell, MaxColumns>;

    int physicalRow(int y) const { return (top_ + y - 1) % MaxRows; }
    TCrtCell* rowAt(int y) { return cells_[physicalRow(y)].data(); }
    void blankRow(int y);

    void putPrintable(std::uint8_t ch);
    void Backspace();
    void CarriageReturn();
    void LineFeed();
    void Scroll();

    CrtDisplay* display_;
    // A ring of rows: scrolling moves top_ instead of the cells.
    std::array<Row, MaxRows> cells_{};
    int top_ = 0;

    int columns_ = 80;
    int rows_ = 24;
    Colour back_;
    Colour text_;
    TLineBreak lineBreak_ = TLineBreak::CRLF;

    int curX_ = 1;
    int curY_ = 1;
    // Columns of the cursor row touched by the current write and not yet shown.
    int left_ = 1;
    int right_ = 1;

    bool repaintPending_ = false;
    int scrollCount_ = 0;
};

}  // namespace varelo
