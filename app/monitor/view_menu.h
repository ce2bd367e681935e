#pragma once

#include <string_view>

namespace varelo {

struct MonitorState;

// The View menu's items as state: the display-mode flags and line-per-telegram
// flags they set (in MonitorState), the enabling of the three display-mode
// items (the mode in force is the disabled one), and the captions that change
// with each click. The window runs the handler, copies captions and enabling to
// its menu items, then gives the terminal view the focus.
class ViewMenu {
  public:
    explicit ViewMenu(MonitorState& state);

    void Hexadecimal1Click();
    void AsciiHexadecimal1Click();
    void CtrlASCIIHexadecimal1Click();

    // Also called by the Send commands to switch one telegram per line on.
    void BloqueTlgClick();
    void SaltardeLineayHoraporTlg1Click();

    // Toggles monitor and terminal mode. The view gets the focus only when the
    // program is now in terminal mode.
    void ModoTerminal1Click();

    bool Hexadecimal1Enabled() const { return mode_ != Mode::Hexa; }
    bool AsciiHexadecimal1Enabled() const { return mode_ != Mode::AsciiHexa; }
    bool CtrlASCIIHexadecimal1Enabled() const { return mode_ != Mode::CtrlAsciiHexa; }

    std::string_view BloqueTlgCaption() const { return bloqueTlgCaption_; }
    std::string_view SaltardeLineayHoraporTlg1Caption() const { return lineAndTimeCaption_; }
    std::string_view ModoTerminal1Caption() const { return modoTerminalCaption_; }

    // Typed keys go to the line exactly while the item offers to go back to monitor mode.
    bool TerminalMode() const;

  private:
    enum class Mode { AsciiHexa, CtrlAsciiHexa, Hexa };
    void setMode(Mode mode);

    MonitorState& state_;
    Mode mode_ = Mode::AsciiHexa;
    std::string_view bloqueTlgCaption_;
    std::string_view lineAndTimeCaption_;
    std::string_view modoTerminalCaption_;
};

}  // namespace varelo
