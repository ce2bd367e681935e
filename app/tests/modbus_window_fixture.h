#pragma once

#include "app/tests/main_window_fixture.h"
#include "modbus/ui/modbus_request_dialog.h"
#include "modbus/ui/tag_data_window.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace varelo::test {

// The request settings dialog without its modal loop: the test's hand sets the
// fields, then the dialog is taken as closed.
class ScriptedConfModbus : public TConfMODBUS {
  public:
    using TConfMODBUS::TConfMODBUS;
    std::function<void(TConfMODBUS&)> pick;
    int showings = 0;
    void showModal() override {
        ++showings;
        if (pick) pick(*this);
    }
};

// The main window with the MODBUS request dialog scripted and the real tag data window.
class ModbusWindowTest : public MainWindowTest {
  protected:
    void start() {
        MainWindowTest::start();
        confModbus = std::make_unique<ScriptedConfModbus>(boxes);
        window().AttachWindows({&configPort, windows->CaracteresDeControl.get(), windows->FmAcercaDe.get(),
                                windows->FCarAscii.get(), confModbus.get(), windows->FormParvolin.get()});
    }
    TFormParvolin& tagWindow() { return *windows->FormParvolin; }
    QStringList tagMap() { return tagWindow().Memo1->toPlainText().split('\n'); }

    std::unique_ptr<ScriptedConfModbus> confModbus;
};

// Lets the event loop run until `done` holds; false if it still does not after
// `patience` (a guard against hanging, not a measure of speed).
inline bool runUntil(const std::function<bool()>& done,
                     std::chrono::milliseconds patience = std::chrono::seconds(20)) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace varelo::test
