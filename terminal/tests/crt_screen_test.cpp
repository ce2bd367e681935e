#include "terminal/crt_screen.h"
#include "terminal/tests/recording_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varelo {
namespace {

using testing::RecordingDisplay;

class CrtScreenTest : public ::testing::Test {
  protected:
    CrtScreenTest() {
        screen.SetColumns(88);
        screen.SetBackColor(colours::White);
        screen.SetTextColor(colours::Black);
        screen.ClearScreen();
        display.fills.clear();
    }

    void write(const std::string& s) {
        screen.WriteBuffer(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }

    // Characters of columns 1..n of row y.
    std::string rowText(int y, int n = 0) const {
        std::string text;
        for (int x = 1; x <= (n ? n : screen.Columns()); ++x) text += static_cast<char>(screen.cell(x, y).Ch);
        return text;
    }

    bool rowBlank(int y, Colour back, Colour text) const {
        for (int x = 1; x <= CrtScreen::MaxColumns; ++x) {
            const TCrtCell& c = screen.cell(x, y);
            if (c.Ch != ' ' || c.BackColor != back || c.TextColor != text) return false;
        }
        return true;
    }

    void expectCursor(int x, int y) const {
        EXPECT_EQ(screen.CurX(), x);
        EXPECT_EQ(screen.CurY(), y);
    }

    RecordingDisplay display;
    CrtScreen screen{&display};
};

TEST_F(CrtScreenTest, PrintableBytesTakeTheCurrentColoursAndAdvanceTheCursor) {
    screen.SetTextColor(colours::Red);
    screen.SetBackColor(colours::Aqua);
    write("X");
    screen.SetTextColor(colours::Black);
    screen.SetBackColor(colours::White);
    write("Y\x7F\x80\xFF");

    EXPECT_EQ(rowText(1, 6), "XY\x7F\x80\xFF ");
    EXPECT_EQ(screen.cell(1, 1).TextColor, colours::Red);
    EXPECT_EQ(screen.cell(1, 1).BackColor, colours::Aqua);
    EXPECT_EQ(screen.cell(2, 1).TextColor, colours::Black);
    EXPECT_EQ(screen.cell(2, 1).BackColor, colours::White);
    expectCursor(6, 1);
    // One write shows the cells it touched, up to the cursor, once.
    EXPECT_EQ(display.rowPaints.back(), (RecordingDisplay::RowPaint{1, 2, 6}));
}

TEST_F(CrtScreenTest, WritingAWholeRowWrapsAtOnceAndACrAfterItLeavesAnEmptyRow) {
    write(std::string(88, 'a'));
    expectCursor(1, 2);
    write("\rb");
    EXPECT_EQ(rowText(1), std::string(88, 'a'));
    EXPECT_TRUE(rowBlank(2, colours::White, colours::Black));
    EXPECT_EQ(rowText(3, 2), "b ");
    expectCursor(2, 3);
}

struct LineBreakCase {
    TLineBreak lineBreak;
    std::string input;
    int curX, curY;
};

TEST_F(CrtScreenTest, CrAndLfMoveTheCursorByTheLineBreakSetting) {
    const std::vector<LineBreakCase> cases = {
        {TLineBreak::CRLF, "AB\r", 1, 2}, {TLineBreak::CRLF, "AB\r\n", 1, 3}, {TLineBreak::CR, "AB\r", 1, 1},
        {TLineBreak::CR, "AB\r\n", 1, 2}, {TLineBreak::CRLF, "AB\nC", 4, 2},  {TLineBreak::CR, "AB\nC", 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input) + (c.lineBreak == TLineBreak::CR ? " CR" : " CRLF"));
        screen.ClearScreen();
        screen.SetLineBreak(c.lineBreak);
        write(c.input);
        expectCursor(c.curX, c.curY);
    }
    EXPECT_EQ(rowText(2, 3), "  C");  // a line feed keeps the column
}

TEST_F(CrtScreenTest, CrOnTheLastRowInCrModeRepaintsWhatTheWriteTouchedBeforeIt) {
    screen.SetLineBreak(TLineBreak::CR);
    write(std::string(23, '\n'));
    display.rowPaints.clear();
    write("long text\rab");
    EXPECT_EQ(display.rowPaints, (std::vector<RecordingDisplay::RowPaint>{{24, 1, 10}, {24, 1, 3}}));
    EXPECT_EQ(rowText(24, 9), "abng text");
}

TEST_F(CrtScreenTest, BackspaceErasesTheCellBeforeTheCursorAndClimbsToTheRowAbove) {
    write("\b");  // at home: nothing
    expectCursor(1, 1);
    EXPECT_EQ(rowText(1, 1), " ");

    write("AB\b");
    expectCursor(2, 1);
    EXPECT_EQ(rowText(1, 2), "A ");

    screen.ClearScreen();
    write(std::string(88, 'a') + std::string(88, 'b'));
    expectCursor(1, 3);
    screen.SetBackColor(colours::Lime);
    display.rowPaints.clear();
    write("\b");
    expectCursor(88, 2);
    EXPECT_EQ(rowText(2), std::string(87, 'b') + " ");
    EXPECT_EQ(screen.cell(88, 2).BackColor, colours::Lime);
    EXPECT_EQ(display.rowPaints.front(), (RecordingDisplay::RowPaint{2, 1, 88}));
}

TEST_F(CrtScreenTest, BackspaceRepaintsEvenWhileAFullRepaintIsDue) {
    write(std::string(30, '\n') + "xy");
    ASSERT_TRUE(screen.RepaintPending());
    display.rowPaints.clear();
    write("\b");
    EXPECT_EQ(display.rowPaints, (std::vector<RecordingDisplay::RowPaint>{{24, 2, 3}}));
}

TEST_F(CrtScreenTest, OtherControlCharactersLeaveNoTrace) {
    for (int c = 0; c < 32; ++c) {
        if (c == 7 || c == 8 || c == 10 || c == 12 || c == 13) continue;
        SCOPED_TRACE(c);
        screen.ClearScreen();
        write(std::string("A") + static_cast<char>(c) + "B");
        EXPECT_EQ(rowText(1, 3), "AB ");
        expectCursor(3, 1);
    }
    EXPECT_EQ(display.beeps, 0);

    screen.ClearScreen();
    write("A\aB");
    EXPECT_EQ(display.beeps, 1);
    EXPECT_EQ(rowText(1, 3), "AB ");
}

TEST_F(CrtScreenTest, FormFeedClearsInTheCurrentBackColourAndHomes) {
    write("hello\r\nworld");
    screen.SetBackColor(colours::Silver);
    write("\fZ");
    EXPECT_EQ(display.fills, std::vector<Colour>{colours::Silver});
    EXPECT_EQ(rowText(1, 2), "Z ");
    expectCursor(2, 1);
    for (int y = 2; y <= CrtScreen::MaxRows; ++y)
        EXPECT_TRUE(rowBlank(y, colours::Silver, colours::Black)) << y;
}

TEST_F(CrtScreenTest, LineFeedOnTheLastRowScrollsUpAndBlanksTheLastRow) {
    for (int y = 1; y <= 24; ++y) write("row" + std::to_string(y) + (y < 24 ? "\r" : ""));
    expectCursor(6, 24);
    screen.SetBackColor(colours::Lime);
    screen.SetTextColor(colours::Red);
    write("\n");
    expectCursor(6, 24);
    EXPECT_EQ(rowText(1, 4), "row2");
    EXPECT_EQ(rowText(23, 5), "row24");
    EXPECT_TRUE(rowBlank(24, colours::Lime, colours::Red));
}

TEST_F(CrtScreenTest, ColumnsAndRowsOutOfRangeAreIgnoredAndTheCursorIsPulledIn) {
    for (int bad : {1, 133, -5}) screen.SetColumns(bad);
    for (int bad : {1, 26, 0}) screen.SetRows(bad);
    EXPECT_EQ(screen.Columns(), 88);
    EXPECT_EQ(screen.Rows(), 24);

    write(std::string(19, '\n') + std::string(59, 'x'));
    expectCursor(60, 20);
    screen.SetColumns(40);
    screen.SetRows(10);
    expectCursor(40, 10);
    write("ab");  // the cursor's cell, then the wrap at the new width scrolls
    EXPECT_EQ(screen.cell(40, 9).Ch, 'a');
    EXPECT_EQ(screen.cell(1, 10).Ch, 'b');
}

struct BurstCase {
    int rows;
    int scrolls;
    std::vector<int> fullPaintsAt;
    bool pendingAfter;
    int scrollCountAfter;
    bool queuedAfter;
};

TEST_F(CrtScreenTest, ScrollsInOneWriteShareOneDeferredRepaintAndForceOneAtTheThreshold) {
    const std::vector<BurstCase> cases = {
        {24, 100, {20, 40, 60, 80, 100}, false, 0, false},
        {24, 5, {}, true, 4, true},
        {25, 1, {}, false, 0, true},
        {2, 4, {2, 4}, false, 0, false},  // threshold 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rows << " rows, " << c.scrolls << " scrolls");
        screen.SetRows(c.rows);
        write(std::string(c.rows - 1, '\n'));
        screen.RepaintAll();
        display = RecordingDisplay{};

        write(std::string(c.scrolls, '\n'));
        EXPECT_EQ(display.scrolls, c.scrolls);
        EXPECT_EQ(display.fullPaints, c.fullPaintsAt);
        EXPECT_EQ(screen.RepaintPending(), c.pendingAfter);
        EXPECT_EQ(screen.ScrollCount(), c.scrollCountAfter);
        EXPECT_EQ(display.queued, c.queuedAfter);
        // Rows are repainted only while no full repaint is due: before the second
        // scroll after each full one.
        if (c.rows == 24) {
            for (int at : display.rowPaintScrolls) EXPECT_LE(at % 20, 1) << at;
        }
    }
}

TEST_F(CrtScreenTest, TheDeliveredRepaintEndsTheSuspension) {
    write(std::string(30, '\n'));
    ASSERT_TRUE(screen.RepaintPending());
    screen.RepaintAll();
    EXPECT_FALSE(screen.RepaintPending());
    EXPECT_EQ(screen.ScrollCount(), 0);
    display.rowPaints.clear();
    write("ok");
    EXPECT_EQ(display.rowPaints, (std::vector<RecordingDisplay::RowPaint>{{24, 1, 3}}));
}

TEST(CrtScreenWithoutDisplay, KeepsCellsAndCursorUpToDate) {
    CrtScreen screen;
    const std::string text = std::string(200, '\n') + "tail\a\f+";
    screen.WriteBuffer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_EQ(screen.cell(1, 1).Ch, '+');
    EXPECT_EQ(screen.CurX(), 2);
    EXPECT_FALSE(screen.RepaintPending());
}

}  // namespace
}  // namespace varelo
