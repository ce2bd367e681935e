#pragma once

#include "platform/termination_signals.h"

class QWidget;

namespace varelo {

// The program's life from before its windows are made to its end. From the
// object's creation on, SIGTERM, SIGINT and SIGHUP end the program the way File,
// Exit does (ports closed with their marks and lock files cleared, the capture
// file closed) instead of killing it: such a signal leaves every event loop that
// runs, a modal box's included, and the main window is then closed in order.
class ProgramRun {
  public:
    ProgramRun();

    // Shows the main window and runs the event loop until the program ends: the
    // main window closed (File, Exit or its close box) or a signal. The loop's
    // exit status.
    int run(QWidget& mainWindow);

  private:
    bool endRequested_ = false;
    TerminationSignals signals_;
};

}  // namespace varelo
