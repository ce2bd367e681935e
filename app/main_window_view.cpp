#include "app/main_window.h"

#include "app/monitor/view_menu.h"
#include "app/terminal_monitor_view.h"
#include "terminal/terminal_view.h"

#include <QAction>

namespace varelo {

namespace {

QString caption(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The View menu's items show what ViewMenu holds: the display mode in force is the
// disabled one, and the line, time and terminal items name what a click would do.
void TFmEscuchar::showViewMenu() {
    Hexadecimal1->setEnabled(viewMenu_->Hexadecimal1Enabled());
    AsciiHexadecimal1->setEnabled(viewMenu_->AsciiHexadecimal1Enabled());
    CtrlASCIIHexadecimal1->setEnabled(viewMenu_->CtrlASCIIHexadecimal1Enabled());
    BloqueTlg->setText(caption(viewMenu_->BloqueTlgCaption()));
    SaltardeLineayHoraporTlg1->setText(caption(viewMenu_->SaltardeLineayHoraporTlg1Caption()));
    ModoTerminal1->setText(caption(viewMenu_->ModoTerminal1Caption()));
}

// Each View item changes the menu's state, shows it, and hands the keyboard to the view.
void TFmEscuchar::clickViewMenu(void (ViewMenu::*click)()) {
    ((*viewMenu_).*click)();
    showViewMenu();
    QVB->setFocus();
}

void TFmEscuchar::Hexadecimal1Click() {
    clickViewMenu(&ViewMenu::Hexadecimal1Click);
}

void TFmEscuchar::AsciiHexadecimal1Click() {
    clickViewMenu(&ViewMenu::AsciiHexadecimal1Click);
}

void TFmEscuchar::CtrlASCIIHexadecimal1Click() {
    clickViewMenu(&ViewMenu::CtrlASCIIHexadecimal1Click);
}

void TFmEscuchar::BloqueTlgClick() {
    clickViewMenu(&ViewMenu::BloqueTlgClick);
}

void TFmEscuchar::SaltardeLineayHoraporTlg1Click() {
    clickViewMenu(&ViewMenu::SaltardeLineayHoraporTlg1Click);
}

void TFmEscuchar::ModoTerminal1Click() {
    viewMenu_->ModoTerminal1Click();
    showViewMenu();
    if (viewMenu_->TerminalMode()) QVB->setFocus();
}

void TFmEscuchar::BorrarPantalla1Click() {
    QVB->ClearScreen();
    QVB->setFocus();
}

// In terminal mode each typed key goes to the chosen port as one byte and is shown
// through the view's own handling of control characters (CR starts a new line, BS
// erases). Typed keys are neither captured nor counted.
void TFmEscuchar::QVBKeyPress(char& key) {
    if (!viewMenu_->TerminalMode()) return;
    selectedDriver().SendData(&key, 1);
    monitorView_->WriteString(std::string_view(&key, 1));
}

}  // namespace varelo
