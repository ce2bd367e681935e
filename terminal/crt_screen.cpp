#include "terminal/crt_screen.h"

#include <algorithm>

namespace varelo {

CrtScreen::CrtScreen(CrtDisplay* display, Colour back, Colour text)
    : display_(display), back_(back), text_(text) {
    ClearScreen();
}

void CrtScreen::blankRow(int y) {
    rowAt(y)[0] = {' ', back_, text_};
    std::fill(rowAt(y) + 1, rowAt(y) + MaxColumns, rowAt(y)[0]);
}

void CrtScreen::ClearScreen() {
    top_ = 0;
    for (int y = 1; y <= MaxRows; ++y) blankRow(y);
    curX_ = 1;
    curY_ = 1;
    if (display_) display_->fillBackground(back_);
}

void CrtScreen::WriteBuffer(const std::uint8_t* data, std::size_t count) {
    left_ = curX_;
    right_ = curX_;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = data[i];
        if (b >= 32) {
            putPrintable(b);
            continue;
        }
        switch (b) {
            case 7:
                if (display_) display_->beep();
                break;
            case 8:
                Backspace();
                break;
            case 10:
                LineFeed();
                break;
            case 12:
                ClearScreen();  // the pending range stays as it is
                break;
            case 13:
                CarriageReturn();
                if (lineBreak_ == TLineBreak::CRLF) LineFeed();
                break;
            default:
                break;  // other control characters leave no trace
        }
    }
    if (!repaintPending_) InvalidateRow(left_, right_);
}

void CrtScreen::putPrintable(std::uint8_t ch) {
    rowAt(curY_)[curX_ - 1] = {ch, back_, text_};
    ++curX_;
    right_ = std::max(right_, curX_);
    if (curX_ > columns_) {  // wrap at once: the cursor never rests beyond the last column
        CarriageReturn();
        LineFeed();
    }
}

void CrtScreen::Backspace() {
    if (curX_ > 1) {
        --curX_;
    } else if (curY_ > 1) {
        curX_ = columns_;
        --curY_;
        right_ = std::max(right_, curX_);
    } else {
        return;
    }
    rowAt(curY_)[curX_ - 1] = {' ', back_, text_};
    left_ = std::min(left_, curX_);
    InvalidateRow(left_, right_);  // even while a full repaint is due
}

void CrtScreen::CarriageReturn() {
    // Also on the last row: with CR alone no scroll follows to repaint the row.
    if (!repaintPending_) InvalidateRow(left_, right_);
    left_ = 1;
    right_ = 1;
    curX_ = 1;
}

void CrtScreen::LineFeed() {
    if (!repaintPending_ && curY_ != rows_) InvalidateRow(left_, right_);
    ++curY_;
    if (curY_ > rows_) {
        curY_ = rows_;
        Scroll();
    }
}

void CrtScreen::Scroll() {
    top_ = (top_ + 1) % MaxRows;
    blankRow(rows_);
    // The recycled top row enters at the bottom of the buffer: the rows below the
    // shown ones stay blank, so raising Rows later shows blank rows.
    if (rows_ < MaxRows) blankRow(MaxRows);
    if (!display_) return;

    if (display_->takeBackRepaint()) {
        repaintPending_ = true;
        ++scrollCount_;
    }
    const int threshold = (rows_ / 4) * 3;
    if (scrollCount_ > threshold) {
        RepaintAll();
    } else {
        display_->postRepaint();
    }
}

void CrtScreen::RepaintAll() {
    if (display_) display_->paintAll();
    repaintPending_ = false;
    scrollCount_ = 0;
}

void CrtScreen::InvalidateRow(int a, int b) {
    if (!display_ || b < a) return;
    display_->invalidateCells(curY_, a, b);
}

void CrtScreen::SetColumns(int columns) {
    if (columns < 2 || columns > MaxColumns) return;
    columns_ = columns;
    curX_ = std::min(curX_, columns_);
}

void CrtScreen::SetRows(int rows) {
    if (rows < 2 || rows > MaxRows) return;
    rows_ = rows;
    curY_ = std::min(curY_, rows_);
}

}  // namespace varelo
