#pragma once

#include "app/application_windows.h"
#include "bench/whole_program/pty_pair.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/shared_state.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QAction;

namespace varelo {
class TFormParvolin;
}

namespace varelo::bench {

// Varelo as it starts, in this process: every window created as at program
// start, COM1 and COM2 on the given devices, boxes answered from a script. The
// main window is shown and activated as the desktop would do it.
class ProgramUnderTest {
  public:
    ProgramUnderTest(const std::string& com1, const std::string& com2);
    ~ProgramUnderTest();

    TFmEscuchar& window() { return *windows_->FmEscuchar; }
    TFormParvolin& tagWindow() { return *windows_->FormParvolin; }
    ScriptedModalBoxes& boxes() { return boxes_; }
    SharedState& shared() { return shared_; }

    // Both ports opened at start, as the Port menu tells.
    bool portsOpen() const;
    // Clicks a menu item as the user would.
    static void click(QAction* item);
    // View, "Hexa", then "Skip of Line and hour": every block on its own line with
    // its header and time. False when the items do not set the display that way.
    bool monitorHexaWithHeadersAndTime();
    // File, New with this name (an existing file is replaced). False when the
    // capture did not start.
    bool startCapture(const std::string& path);
    void stopCapture();
    // Bytes the monitor has shown so far (both ports).
    std::int64_t received() const;
    // Runs the event loop until the monitor has shown `count` bytes, and tells
    // when; nullopt when the count stopped moving for `quiet` first.
    std::optional<std::chrono::steady_clock::time_point> waitUntilReceived(std::int64_t count,
                                                                           std::chrono::milliseconds quiet);
    // The texts of every box shown so far, for a reason to print.
    std::string boxesShown() const;

  private:
    SharedState shared_;
    ScriptedModalBoxes boxes_;
    std::optional<ApplicationWindows> windows_;
};

// The program with COM1 and COM2 on two pseudo-terminals of its own.
struct ProgramOnPtys {
    std::array<PtyPair, 2> lines;
    std::optional<ProgramUnderTest> program;
};
// Started with both ports open; nullptr, after the NOT_MEASURED line for
// `figure`, when that fails.
std::unique_ptr<ProgramOnPtys> StartOnPtys(const std::string& figure);

// Runs the event loop for this long.
void RunEventLoopFor(std::chrono::milliseconds duration);

}  // namespace varelo::bench
