// The terminal cell model fed arbitrary bytes between changes of its size, line
// break and colours. Two models run side by side, one with a view attached and one
// without, and both must match a plain reference screen that moves its rows one by
// one when it scrolls. The view checks every repaint the model asks of it.
//
// Input, a script of operations: an operation byte, then its operands.
//   op % 8 = 0..3  WriteBuffer of the next n bytes in one call; n = next byte, 0 = all the rest
//            4     SetColumns(next byte): 0, 1 and 133..255 must be ignored
//            5     SetRows(next byte): 0, 1 and 26..255 must be ignored
//            6     next byte: bit 0 line break (1 = CR alone), bits 1-3 text colour, bits 4-6 background
//            7     the view delivers the full repaint it has waiting, if any

#include "fuzz/fuzz_input.h"
#include "terminal/crt_screen.h"

#include <algorithm>
#include <array>
#include <utility>

namespace varelo::fuzz {
namespace {

constexpr int kMaxColumns = CrtScreen::MaxColumns;
constexpr int kMaxRows = CrtScreen::MaxRows;

constexpr std::array<Colour, 8> kPalette{colours::Black, colours::Red,  colours::Lime,  colours::Yellow,
                                         colours::Blue,  colours::Aqua, colours::White, colours::Silver};

// The teletype rules on a plain array of rows.
class ReferenceScreen {
  public:
    ReferenceScreen() { clear(); }

    void write(const std::string& bytes) {
        for (const char c : bytes) put(static_cast<std::uint8_t>(c));
    }
    void setColumns(int value) {
        if (value < 2 || value > kMaxColumns) return;
        columns = value;
        x = std::min(x, columns);
    }
    void setRows(int value) {
        if (value < 2 || value > kMaxRows) return;
        rows = value;
        y = std::min(y, rows);
    }

    int columns = 80, rows = 24, x = 1, y = 1;
    Colour back = colours::SystemWindow, text = colours::SystemWindowText;
    TLineBreak lineBreak = TLineBreak::CRLF;
    std::array<std::array<TCrtCell, kMaxColumns>, kMaxRows> cells;

  private:
    void put(std::uint8_t b) {
        if (b >= 32) {
            cells[y - 1][x - 1] = {b, back, text};
            if (++x > columns) {
                x = 1;
                lineFeed();
            }
        } else if (b == 8) {
            backspace();
        } else if (b == 10) {
            lineFeed();
        } else if (b == 12) {
            clear();
        } else if (b == 13) {
            x = 1;
            if (lineBreak == TLineBreak::CRLF) lineFeed();
        }
    }
    void backspace() {
        if (x > 1) {
            --x;
        } else if (y > 1) {
            x = columns;
            --y;
        } else {
            return;
        }
        cells[y - 1][x - 1] = blank();
    }
    void lineFeed() {
        if (++y <= rows) return;
        y = rows;
        // Every row of the buffer moves up; the last shown row and the last row of
        // the buffer come in blank.
        std::copy(cells.begin() + 1, cells.end(), cells.begin());
        cells[rows - 1].fill(blank());
        cells[kMaxRows - 1].fill(blank());
    }
    void clear() {
        for (auto& row : cells) row.fill(blank());
        x = 1;
        y = 1;
    }
    TCrtCell blank() const { return {' ', back, text}; }
};

// The view side: keeps at most one full repaint waiting and checks each row repaint.
class CheckingDisplay : public CrtDisplay {
  public:
    void attach(const CrtScreen* screen) { screen_ = screen; }

    void invalidateCells(int row, int first, int last) override {
        FUZZ_CHECK(row >= 1 && row <= screen_->Rows());
        FUZZ_CHECK(first >= 1 && first <= last && last <= screen_->Columns() + 1);
    }
    bool takeBackRepaint() override {
        ++scrolls;
        return std::exchange(queued, false);
    }
    void postRepaint() override { queued = true; }
    void paintAll() override {}
    void fillBackground(Colour) override {}
    void beep() override {}

    bool queued = false;
    int scrolls = 0;

  private:
    const CrtScreen* screen_ = nullptr;
};

bool sameCell(const TCrtCell& a, const TCrtCell& b) {
    return a.Ch == b.Ch && a.BackColor == b.BackColor && a.TextColor == b.TextColor;
}

void checkRow(const CrtScreen& screen, const ReferenceScreen& reference, int y) {
    const TCrtCell* row = screen.row(y);
    for (int x = 0; x < kMaxColumns; ++x) FUZZ_CHECK(sameCell(row[x], reference.cells[y - 1][x]));
}

// After every operation the cursor and its row; the whole buffer at the end.
void checkMatches(const CrtScreen& screen, const ReferenceScreen& reference, bool wholeBuffer) {
    FUZZ_CHECK(screen.Columns() == reference.columns && screen.Rows() == reference.rows);
    FUZZ_CHECK(screen.CurX() >= 1 && screen.CurX() <= screen.Columns());
    FUZZ_CHECK(screen.CurY() >= 1 && screen.CurY() <= screen.Rows());
    FUZZ_CHECK(screen.CurX() == reference.x && screen.CurY() == reference.y);
    if (!wholeBuffer) return checkRow(screen, reference, screen.CurY());
    for (int y = 1; y <= kMaxRows; ++y) checkRow(screen, reference, y);
}

void write(CrtScreen& screen, const std::string& bytes) {
    screen.WriteBuffer(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo;
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    CheckingDisplay display;
    CrtScreen shown(&display);
    display.attach(&shown);
    CrtScreen bare;
    ReferenceScreen reference;

    while (!in.empty()) {
        const int op = in.byte() % 8;
        if (op <= 3) {
            const std::size_t n = in.byte();
            const std::string bytes = n == 0 ? in.rest() : in.bytes(n);
            const int scrollsBefore = display.scrolls;
            write(shown, bytes);
            write(bare, bytes);
            reference.write(bytes);
            // A burst of scrolls is repainted whole, at the latest after the threshold.
            if (display.scrolls != scrollsBefore) FUZZ_CHECK(shown.ScrollCount() <= (shown.Rows() / 4) * 3);
        } else if (op == 4 || op == 5) {
            const int value = in.byte();
            if (op == 4) {
                shown.SetColumns(value);
                bare.SetColumns(value);
                reference.setColumns(value);
            } else {
                shown.SetRows(value);
                bare.SetRows(value);
                reference.setRows(value);
            }
        } else if (op == 6) {
            const std::uint8_t settings = in.byte();
            reference.lineBreak = (settings & 1) ? TLineBreak::CR : TLineBreak::CRLF;
            reference.text = kPalette[(settings >> 1) & 7];
            reference.back = kPalette[(settings >> 4) & 7];
            for (CrtScreen* screen : {&shown, &bare}) {
                screen->SetLineBreak(reference.lineBreak);
                screen->SetTextColor(reference.text);
                screen->SetBackColor(reference.back);
            }
        } else if (display.queued) {
            display.queued = false;
            shown.RepaintAll();
        }

        checkMatches(shown, reference, in.empty());
        checkMatches(bare, reference, in.empty());
        // A full repaint is due exactly while scrolls are being coalesced, and then
        // one is waiting in the view's queue.
        FUZZ_CHECK(shown.RepaintPending() == (shown.ScrollCount() > 0));
        FUZZ_CHECK(!shown.RepaintPending() || display.queued);
        FUZZ_CHECK(!bare.RepaintPending());
    }
    return 0;
}
