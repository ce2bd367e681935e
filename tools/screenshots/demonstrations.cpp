#include "tools/screenshots/demonstrations.h"

#include "app/application_windows.h"
#include "modbus/ui/tag_data_window.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "terminal/terminal_view.h"
#include "tools/screenshots/screen_text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

#include <chrono>
#include <functional>
#include <thread>

namespace varelo::screenshots {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Lets the program run until `done` holds; false if it still does not after
// `patience`.
bool RunUntil(const std::function<bool()>& done, milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(milliseconds(2));
    }
    return true;
}

void RunFor(milliseconds duration) {
    RunUntil([] { return false; }, duration);
}

void Click(QAction* item) {
    item->trigger();
    QApplication::processEvents();
}

class Demonstration {
  public:
    Demonstration(ApplicationWindows& windows, ScriptedModalBoxes& boxes)
        : window_(*windows.FmEscuchar), tagWindow_(*windows.FormParvolin), boxes_(boxes) {}

    // Nothing to click: the scale's lines arrive on port 2 every second.
    Picture weightLines() {
        if (!RunUntil([&] { return rowsHolding(" Kg") >= 5; }, seconds(20)))
            return failed("fewer than five weight lines arrived on port 2");
        return mainWindow();
    }

    // Send, "Polling MODBUS-RTU", 3 stations, on port 1 alone (port 2 closed, so
    // that the scale's lines do not come between the polls).
    Picture rtuPoll() {
        Click(window_.CerrarPuerto2);
        Click(window_.BorrarPantalla1);
        boxes_.inputAnswers = {"3"};
        Click(window_.PollingMODBUSRTU1);
        const bool answered =
            RunUntil([&] { return rowsHolding("VARELO-SIM 3") >= 1 && rowsHolding("VARELO-SIM 1") >= 2; },
                     seconds(20));
        Click(window_.Cortar1);
        if (!answered) return failed("stations 1 to 3 did not all answer the poll");
        return mainWindow();
    }

    // Send, "Reading Parvolin - MODBUS-RTU", station 1: the tag map.
    Picture tagMap() {
        boxes_.inputAnswers = {"1"};
        Click(window_.LeerParvolin1);
        if (!RunUntil([&] { return !tagWindow_.Memo1->toPlainText().isEmpty(); }, seconds(20)))
            return failed("the tag reader showed no map");
        RunFor(milliseconds(300));
        return {tagWindow_.grab().toImage(), {}};
    }

    // The bus echoes every request. A round of polls with "Return 485" checked,
    // then one with it unchecked: the echoed poll shows in front of each answer.
    Picture echoRemoval() {
        Click(window_.CerrarPuerto2);
        Click(window_.BorrarPantalla1);
        boxes_.inputAnswers = {"3"};
        Click(window_.PollingMODBUSRTU1);
        const auto answersOfStation3 = [&] { return rowsHolding("(03)(11)(0E)(03)(FF)VARELO-SIM 3"); };
        const bool clean = RunUntil([&] { return answersOfStation3() >= 1; }, seconds(20));
        window_.CBReflejo->click();
        const bool echoed = clean && RunUntil([&] { return answersOfStation3() >= 2; }, seconds(20));
        Click(window_.Cortar1);
        if (!echoed) return failed("stations 1 to 3 did not answer two rounds of polls");
        const auto rows = ScreenRows(window_.QVB->model());
        if (RowsStartingWith(rows, "P1->(03)(11)") == RowsStartingWith(rows, "P1->(03)(11)(0E)"))
            return failed("no echo showed once \"Return 485\" was unchecked (is the bus echoing?)");
        return mainWindow();
    }

  private:
    // How many times `text` shows on the monitor, over all its rows.
    int rowsHolding(const std::string& text) {
        int count = 0;
        for (const std::string& row : ScreenRows(window_.QVB->model()))
            for (std::size_t at = row.find(text); at != std::string::npos; at = row.find(text, at + 1))
                ++count;
        return count;
    }
    Picture mainWindow() {
        RunFor(milliseconds(300));
        return {window_.grab().toImage(), {}};
    }
    static Picture failed(std::string why) { return {{}, std::move(why)}; }

    TFmEscuchar& window_;
    TFormParvolin& tagWindow_;
    ScriptedModalBoxes& boxes_;
};

}  // namespace

std::vector<std::string> DemonstrationNames() {
    return {"weight", "poll", "tag", "echo"};
}

Picture PlayDemonstration(const std::string& name, ApplicationWindows& windows, ScriptedModalBoxes& boxes) {
    Demonstration demonstration(windows, boxes);
    if (name == "weight") return demonstration.weightLines();
    if (name == "poll") return demonstration.rtuPoll();
    if (name == "tag") return demonstration.tagMap();
    if (name == "echo") return demonstration.echoRemoval();
    return {{}, "no demonstration called " + name};
}

}  // namespace varelo::screenshots
