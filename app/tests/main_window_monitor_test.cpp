#include "app/tests/monitor_window_fixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest/QTest>

#include <regex>
#include <string>
#include <vector>

namespace varelo::test {
namespace {

class LineMonitor : public MonitorWindowTest {
  protected:
    // Each cell of row y from column `from` on shows `text` in the given colours.
    void expectCells(int y, int from, const std::string& text, Colour textColour, Colour backColour) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int x = from + static_cast<int>(i);
            SCOPED_TRACE("column " + std::to_string(x));
            const TCrtCell& c = cellAt(x, y);
            EXPECT_EQ(c.Ch, static_cast<std::uint8_t>(text[i]));
            EXPECT_EQ(c.TextColor, textColour);
            EXPECT_EQ(c.BackColor, backColour);
        }
    }
};

TEST_F(LineMonitor, BlocksFromTheLineAreShownInThePortsColoursAndCapturedExactly) {
    startCapture(path("capture.txt"));

    // Port 2, one telegram per line off: the rendering alone, black on lime.
    const std::string first("AB\r\x01\xB0\xAF", 6);
    ASSERT_TRUE(com2.writeAll(first));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 6; }));
    const std::string shown = "AB(0D)(01)(B0)\xAF";
    EXPECT_EQ(contentOf(path("capture.txt")), shown);
    expectCells(1, 1, shown, colours::Black, colours::Lime);
    EXPECT_EQ(window().EditLng->text(), "6");
    EXPECT_EQ(window().QVB->TextColor(), colours::Black) << "black on white after each block";
    EXPECT_EQ(window().QVB->BackColor(), colours::White);

    // Port 1 with headers and arrival times, in Hexa: red on aqua on a new line.
    click(window().SaltardeLineayHoraporTlg1);
    click(window().Hexadecimal1);
    ASSERT_TRUE(com1.writeAll("OK"));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 8; }));
    const std::string capture = contentOf(path("capture.txt"));
    ASSERT_EQ(capture.substr(0, shown.size() + 2), shown + "\r\n");
    const std::string line = capture.substr(shown.size() + 2);
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(P1->\d{1,2}:\d{1,2}:\d{1,2}:\d{1,3} *->\(4F\)\(4B\))")))
        << line;
    EXPECT_EQ(line.size(), 4u + 14u + 8u) << "the stamp is 14 characters";
    expectCells(2, 1, line, colours::Red, colours::Aqua);
    EXPECT_EQ(window().EditLng->text(), "8");
}

TEST_F(LineMonitor, ViewMenuItemsShowTheModeInForceAndTheirNextStep) {
    struct Step {
        QAction* TFmEscuchar::*item;
        bool hexMode, ctrlMode, skipLine, showTime;
        const char* bloqueTlg;
        const char* lineAndTime;
    };
    const std::vector<Step> steps = {
        {&TFmEscuchar::Hexadecimal1, true, false, false, false, "Skip of &Line for each Tlg",
         "&Skip of Line and hour for each tlg"},
        {&TFmEscuchar::CtrlASCIIHexadecimal1, false, true, false, false, "Skip of &Line for each Tlg",
         "&Skip of Line and hour for each tlg"},
        {&TFmEscuchar::BloqueTlg, false, true, true, false, "Do not Skip a &Line for each Tlg",
         "&Skip of Line and hour for each tlg"},
        {&TFmEscuchar::SaltardeLineayHoraporTlg1, false, true, true, true, "Do not Skip a &Line for each Tlg",
         "Do not &Skip Line and time for each Tlg"},
        {&TFmEscuchar::SaltardeLineayHoraporTlg1, false, true, false, false, "Skip of &Line for each Tlg",
         "&Skip of Line and time for each Tlg"},
        {&TFmEscuchar::SaltardeLineayHoraporTlg1, false, true, true, true,
         "Do not Skip of &Line for each Tlg", "Do not &Skip Line and time for each Tlg"},
        {&TFmEscuchar::BloqueTlg, false, true, false, false, "Skip of &Line for each Tlg",
         "&Skip of Line and time for each Tlg"},
        {&TFmEscuchar::AsciiHexadecimal1, false, false, false, false, "Skip of &Line for each Tlg",
         "&Skip of Line and time for each Tlg"},
    };
    TFmEscuchar& w = window();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        click(w.*s.item);
        EXPECT_EQ(w.State.HexMode, s.hexMode);
        EXPECT_EQ(w.State.CtrlMode, s.ctrlMode);
        EXPECT_EQ(w.State.SkipLine, s.skipLine);
        EXPECT_EQ(w.State.ShowTime, s.showTime);
        EXPECT_EQ(w.Hexadecimal1->isEnabled(), !s.hexMode);
        EXPECT_EQ(w.CtrlASCIIHexadecimal1->isEnabled(), !s.ctrlMode);
        EXPECT_EQ(w.AsciiHexadecimal1->isEnabled(), s.hexMode || s.ctrlMode);
        EXPECT_EQ(w.BloqueTlg->text().toStdString(), s.bloqueTlg);
        EXPECT_EQ(w.SaltardeLineayHoraporTlg1->text().toStdString(), s.lineAndTime);
    }

    click(w.ModoTerminal1);
    EXPECT_EQ(w.ModoTerminal1->text(), "&Monitor mode");
    click(w.ModoTerminal1);
    EXPECT_EQ(w.ModoTerminal1->text(), "&Terminal mode");
}

void type(QWidget* view, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(view, &press);
}

TEST_F(LineMonitor, TerminalModeSendsEachTypedKeyOnTheChosenPortAndShowsIt) {
    startCapture(path("capture.txt"));
    window().RBPuerto2->setChecked(true);
    type(window().QVB, Qt::Key_X, "x");  // monitor mode: typing does nothing
    runFor(20);
    EXPECT_EQ(com2.readAvailable(), "");
    EXPECT_EQ(screenRow(1).substr(0, 1), " ");

    click(window().ModoTerminal1);
    type(window().QVB, Qt::Key_A, "a");
    type(window().QVB, Qt::Key_B, "b");
    type(window().QVB, Qt::Key_Return, "\r");
    type(window().QVB, Qt::Key_C, "c");
    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com2.readAvailable();
        return far.size() >= 4;
    }));
    EXPECT_EQ(far, "ab\rc");
    EXPECT_EQ(com1.readAvailable(), "") << "port 1 is not chosen";
    EXPECT_EQ(screenRow(1).substr(0, 3), "ab ");
    EXPECT_EQ(screenRow(2).substr(0, 2), "c ") << "a typed CR starts a new line";
    EXPECT_EQ(contentOf(path("capture.txt")), "") << "typed keys are not captured";
    EXPECT_EQ(window().State.RxCount, 0);
}

// Delete and Shift+Tab as the desktop delivers them: Delete with the text DEL (127),
// Shift+Tab as Backtab without text. Delete types no character, Shift+Tab a Tab.
TEST_F(LineMonitor, InTerminalModeDeleteTypesNothingAndShiftTabTypesATab) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));  // its first activation clears the screen
    click(window().ModoTerminal1);
    QTest::keyClick(window().QVB, Qt::Key_A);
    QTest::sendKeyEvent(QTest::Click, window().QVB, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
    QTest::keyClick(window().QVB, Qt::Key_B);
    QTest::sendKeyEvent(QTest::Click, window().QVB, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QTest::keyClick(window().QVB, Qt::Key_C);
    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com1.readAvailable();
        return far.size() >= 4;
    }));
    runFor(20);
    far += com1.readAvailable();
    EXPECT_EQ(far, "ab\tc");
    EXPECT_EQ(screenRow(1).substr(0, 3), "abc") << "a Tab leaves no trace on the screen";
}

TEST_F(LineMonitor, ACaptureOnAFullDiskIsReportedAtEachBlockAndReceivingGoesOn) {
    startCapture("/dev/full");
    ASSERT_TRUE(com2.writeAll("XY"));
    ASSERT_TRUE(runUntil([&] { return !boxes.texts("runtime").empty(); }));
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"Disk full"});
    EXPECT_EQ(window().EditLng->text(), "") << "the steps after the failed write are skipped";

    ASSERT_TRUE(com2.writeAll("Z"));
    ASSERT_TRUE(runUntil([&] { return boxes.texts("runtime").size() == 2; }));
    EXPECT_EQ(screenRow(1).substr(0, 4), "XYZ ");
    EXPECT_EQ(window().State.RxCount, 3);
    EXPECT_TRUE(window().Port2.Connected());
}

// The box of a failed capture write keeps the event loop running, as a real modal
// box does: both ports go on receiving and showing while it is open, and the blocks
// that fail meanwhile raise no second box inside it.
TEST_F(LineMonitor, BothPortsGoOnShowingWhileACaptureErrorBoxIsOpen) {
    startCapture("/dev/full");
    int depth = 0;
    std::vector<std::string> shownWhileOpen;
    boxes.whileOpen = [&] {
        if (++depth == 1 && boxes.texts("runtime").size() == 1) {
            const std::int64_t before = window().State.RxCount;
            if (com1.writeAll("P1") && runUntil([&] { return window().State.RxCount == before + 2; }))
                shownWhileOpen.push_back("port 1");
            if (com2.writeAll("Q2") && runUntil([&] { return window().State.RxCount == before + 4; }))
                shownWhileOpen.push_back("port 2");
            EXPECT_EQ(boxes.texts("runtime").size(), 1u) << "a second box inside the first";
        }
        --depth;
    };

    ASSERT_TRUE(com1.writeAll("AB"));
    ASSERT_TRUE(runUntil([&] { return !boxes.texts("runtime").empty() && depth == 0; }));
    EXPECT_EQ(shownWhileOpen, (std::vector<std::string>{"port 1", "port 2"}));
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"Disk full"});
    EXPECT_EQ(screenRow(1).substr(0, 7), "ABP1Q2 ");

    // Once it is closed, the next failing block is reported again, and nothing was lost.
    ASSERT_TRUE(com2.writeAll("Z"));
    ASSERT_TRUE(runUntil([&] { return boxes.texts("runtime").size() == 2 && depth == 0; }));
    EXPECT_EQ(screenRow(1).substr(0, 8), "ABP1Q2Z ");
    EXPECT_EQ(window().State.RxCount, 7);
}

// With one telegram per line the header's capture write is the one that fails:
// the block still shows behind its header.
TEST_F(LineMonitor, AFailingCaptureTakesNoBlockOffTheScreen) {
    startCapture("/dev/full");
    click(window().BloqueTlg);
    ASSERT_TRUE(com1.writeAll("AB"));
    ASSERT_TRUE(runUntil([&] { return boxes.texts("runtime").size() == 1; }));
    ASSERT_TRUE(com2.writeAll("CD"));
    ASSERT_TRUE(runUntil([&] { return boxes.texts("runtime").size() == 2; }));
    EXPECT_EQ(screenRow(2).substr(0, 7), "P1->AB ");
    EXPECT_EQ(screenRow(3).substr(0, 7), "P2->CD ");
    EXPECT_EQ(window().State.RxCount, 4);
}

}  // namespace
}  // namespace varelo::test
