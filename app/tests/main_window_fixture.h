#pragma once

#include "app/application_windows.h"
#include "modbus/ui/modbus_request_dialog.h"
#include "modbus/ui/tag_data_window.h"
#include "platform/clock.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "serial/tests/pseudo_terminal.h"
#include "serial/ui/config_port_dialog.h"
#include "util/shared_state.h"
#include "widgets/reference_windows/about_window.h"
#include "widgets/reference_windows/ascii_table_window.h"
#include "widgets/reference_windows/control_characters_window.h"

#include <QAction>
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace varelo::test {

// The port settings dialog without its modal loop: the test's hand picks the items,
// then the dialog is taken as closed.
class ScriptedConfigPort : public TConfigPort1 {
  public:
    std::function<void(TConfigPort1&)> pick;
    int showings = 0;
    void ShowModal() override {
        ++showings;
        if (pick) pick(*this);
    }
};

// The program as it starts: COM1 and COM2 are the slave ends of two pseudo-terminals
// (or, for a test that says so, COM1 names a device that does not exist).
class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "main_window_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }

    void SetUp() override {
        ::setenv("VARELO_COM1", com1.slavePath().c_str(), 1);
        ::setenv("VARELO_COM2", com2.slavePath().c_str(), 1);
    }
    void TearDown() override {
        windows.reset();
        ::unsetenv("VARELO_COM1");
        ::unsetenv("VARELO_COM2");
    }

    void start() { start(boxes); }
    // The program with other boxes than the scripted ones (a real dialog among them).
    void start(ModalBoxes& programBoxes) {
        windows.emplace(shared, programBoxes, systemWallClock(), systemTickClock());
        window().AttachWindows({&configPort, windows->CaracteresDeControl.get(), windows->FmAcercaDe.get(),
                                windows->FCarAscii.get()});
    }
    TFmEscuchar& window() { return *windows->FmEscuchar; }

    // Clicks a menu item as the user would: a disabled item does nothing.
    static void click(QAction* item) { item->trigger(); }

    PseudoTerminal com1;
    PseudoTerminal com2;
    SharedState shared;
    ScriptedModalBoxes boxes;
    ScriptedConfigPort configPort;
    std::optional<ApplicationWindows> windows;
};

}  // namespace varelo::test
