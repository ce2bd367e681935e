#include "app/monitor/view_menu.h"

#include "app/monitor/monitor_state.h"

namespace varelo {
namespace {

constexpr std::string_view SkipLineCaption = "Skip of &Line for each Tlg";
// Set by the line item itself ("a") and by the line-and-time item ("of"); both as written.
constexpr std::string_view DoNotSkipLineCaption = "Do not Skip a &Line for each Tlg";
constexpr std::string_view DoNotSkipLineOfCaption = "Do not Skip of &Line for each Tlg";

constexpr std::string_view LineAndHourAtStartCaption = "&Skip of Line and hour for each tlg";
constexpr std::string_view LineAndTimeCaption = "&Skip of Line and time for each Tlg";
constexpr std::string_view DoNotLineAndTimeCaption = "Do not &Skip Line and time for each Tlg";

constexpr std::string_view TerminalModeCaption = "&Terminal mode";
constexpr std::string_view MonitorModeCaption = "&Monitor mode";

}  // namespace

ViewMenu::ViewMenu(MonitorState& state)
    : state_(state),
      bloqueTlgCaption_(SkipLineCaption),
      lineAndTimeCaption_(LineAndHourAtStartCaption),
      modoTerminalCaption_(TerminalModeCaption) {}

void ViewMenu::setMode(Mode mode) {
    mode_ = mode;
    state_.HexMode = mode == Mode::Hexa;
    state_.CtrlMode = mode == Mode::CtrlAsciiHexa;
}

void ViewMenu::Hexadecimal1Click() {
    setMode(Mode::Hexa);
}
void ViewMenu::AsciiHexadecimal1Click() {
    setMode(Mode::AsciiHexa);
}
void ViewMenu::CtrlASCIIHexadecimal1Click() {
    setMode(Mode::CtrlAsciiHexa);
}

void ViewMenu::BloqueTlgClick() {
    if (!state_.SkipLine) {
        state_.SkipLine = true;
        bloqueTlgCaption_ = DoNotSkipLineCaption;
    } else {
        state_.SkipLine = false;
        bloqueTlgCaption_ = SkipLineCaption;
        state_.ShowTime = false;
        lineAndTimeCaption_ = LineAndTimeCaption;
    }
}

void ViewMenu::SaltardeLineayHoraporTlg1Click() {
    const bool skipLine = state_.SkipLine;
    if (!state_.ShowTime) {
        if (!skipLine) bloqueTlgCaption_ = DoNotSkipLineOfCaption;
        state_.SkipLine = true;
        state_.ShowTime = true;
        lineAndTimeCaption_ = DoNotLineAndTimeCaption;
    } else {
        if (skipLine) bloqueTlgCaption_ = SkipLineCaption;
        state_.SkipLine = false;
        state_.ShowTime = false;
        lineAndTimeCaption_ = LineAndTimeCaption;
    }
}

void ViewMenu::ModoTerminal1Click() {
    if (modoTerminalCaption_ == MonitorModeCaption) {
        modoTerminalCaption_ = TerminalModeCaption;
    } else if (modoTerminalCaption_ == TerminalModeCaption) {
        modoTerminalCaption_ = MonitorModeCaption;
    }
}

bool ViewMenu::TerminalMode() const {
    return modoTerminalCaption_.find("Monitor") != std::string_view::npos;
}

}  // namespace varelo
