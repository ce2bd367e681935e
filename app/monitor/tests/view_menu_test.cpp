#include "app/monitor/view_menu.h"

#include "app/monitor/monitor_state.h"

#include <gtest/gtest.h>

#include <functional>

namespace varelo {
namespace {

constexpr const char* SkipLine = "Skip of &Line for each Tlg";
constexpr const char* DoNotSkipA = "Do not Skip a &Line for each Tlg";
constexpr const char* DoNotSkipOf = "Do not Skip of &Line for each Tlg";
constexpr const char* LineAndHour = "&Skip of Line and hour for each tlg";
constexpr const char* LineAndTime = "&Skip of Line and time for each Tlg";
constexpr const char* DoNotLineAndTime = "Do not &Skip Line and time for each Tlg";

class ViewMenuTest : public ::testing::Test {
  protected:
    MonitorState state;
    ViewMenu menu{state};

    void expectLines(bool skipLine, bool showTime, const char* bloqueTlg, const char* lineAndTime) {
        EXPECT_EQ(state.SkipLine, skipLine);
        EXPECT_EQ(state.ShowTime, showTime);
        EXPECT_EQ(menu.BloqueTlgCaption(), bloqueTlg);
        EXPECT_EQ(menu.SaltardeLineayHoraporTlg1Caption(), lineAndTime);
    }
};

TEST_F(ViewMenuTest, TheModeInForceIsTheOneDisabledItem) {
    EXPECT_TRUE(menu.Hexadecimal1Enabled());
    EXPECT_FALSE(menu.AsciiHexadecimal1Enabled());
    EXPECT_TRUE(menu.CtrlASCIIHexadecimal1Enabled());

    const struct {
        const char* name;
        void (ViewMenu::*click)();
        bool hexMode, ctrlMode, hexEnabled, asciiEnabled, ctrlEnabled;
    } cases[] = {
        {"Hexa", &ViewMenu::Hexadecimal1Click, true, false, false, true, true},
        {"Ctrl", &ViewMenu::CtrlASCIIHexadecimal1Click, false, true, true, true, false},
        {"ASCII", &ViewMenu::AsciiHexadecimal1Click, false, false, true, false, true},
        {"Hexa after ASCII", &ViewMenu::Hexadecimal1Click, true, false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        (menu.*c.click)();
        EXPECT_EQ(state.HexMode, c.hexMode);
        EXPECT_EQ(state.CtrlMode, c.ctrlMode);
        EXPECT_EQ(menu.Hexadecimal1Enabled(), c.hexEnabled);
        EXPECT_EQ(menu.AsciiHexadecimal1Enabled(), c.asciiEnabled);
        EXPECT_EQ(menu.CtrlASCIIHexadecimal1Enabled(), c.ctrlEnabled);
    }
}

TEST_F(ViewMenuTest, TheLineItemTogglesAndItsOffSwitchesTheTimeOffToo) {
    expectLines(false, false, SkipLine, LineAndHour);
    menu.BloqueTlgClick();
    expectLines(true, false, DoNotSkipA, LineAndHour);
    menu.SaltardeLineayHoraporTlg1Click();
    expectLines(true, true, DoNotSkipA, DoNotLineAndTime);
    menu.BloqueTlgClick();
    expectLines(false, false, SkipLine, LineAndTime);
}

TEST_F(ViewMenuTest, TheTimeItemFollowsItsTableFromEachState) {
    const struct {
        const char* name;
        std::function<void(ViewMenu&)> reach;  // from the start state
        bool skipLine, showTime;
        const char* bloqueTlg;
        const char* lineAndTime;
    } cases[] = {
        {"from nothing", [](ViewMenu&) {}, true, true, DoNotSkipOf, DoNotLineAndTime},
        {"from line only", [](ViewMenu& m) { m.BloqueTlgClick(); }, true, true, DoNotSkipA, DoNotLineAndTime},
        {"from line and time", [](ViewMenu& m) { m.SaltardeLineayHoraporTlg1Click(); }, false, false,
         SkipLine, LineAndTime},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorState st;
        ViewMenu m{st};
        c.reach(m);
        m.SaltardeLineayHoraporTlg1Click();
        EXPECT_EQ(st.SkipLine, c.skipLine);
        EXPECT_EQ(st.ShowTime, c.showTime);
        EXPECT_EQ(m.BloqueTlgCaption(), c.bloqueTlg);
        EXPECT_EQ(m.SaltardeLineayHoraporTlg1Caption(), c.lineAndTime);
    }
}

TEST_F(ViewMenuTest, TimeWithoutLineSwitchesOffWithoutTouchingTheLineCaption) {
    // The menu never leaves time on with the line off; should the flags say so,
    // the time item switches both off and leaves the line item's caption alone.
    state.ShowTime = true;
    menu.SaltardeLineayHoraporTlg1Click();
    expectLines(false, false, SkipLine, LineAndTime);
}

TEST_F(ViewMenuTest, ModeItemSwitchesBetweenMonitorAndTerminal) {
    EXPECT_EQ(menu.ModoTerminal1Caption(), "&Terminal mode");
    EXPECT_FALSE(menu.TerminalMode());
    menu.ModoTerminal1Click();
    EXPECT_EQ(menu.ModoTerminal1Caption(), "&Monitor mode");
    EXPECT_TRUE(menu.TerminalMode());
    menu.ModoTerminal1Click();
    EXPECT_EQ(menu.ModoTerminal1Caption(), "&Terminal mode");
    EXPECT_FALSE(menu.TerminalMode());
}

}  // namespace
}  // namespace varelo
