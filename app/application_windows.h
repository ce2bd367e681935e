#pragma once

#include "app/main_window.h"

#include <memory>

namespace varelo {

class TCaracteresDeControl;
class TConfigPort1;
class TConfMODBUS;
class TFCarAscii;
class TFmAcercaDe;
class TFormParvolin;

// Every window of the program, created at start-up in this order and kept until
// the end: the main window first (which opens the ports and reports a port that
// cannot be opened before anything is shown), then, hidden, the dialogs and the
// reference windows that the main window's menus show.
class ApplicationWindows {
  public:
    ApplicationWindows(SharedState& shared, ModalBoxes& boxes, const WallClock& wallClock,
                       const TickClock& tickClock);
    ~ApplicationWindows();

    // Destroyed in the opposite order, the main window last.

    std::unique_ptr<TFmEscuchar> FmEscuchar;
    std::unique_ptr<TConfigPort1> ConfigPort1;
    std::unique_ptr<TCaracteresDeControl> CaracteresDeControl;
    std::unique_ptr<TFmAcercaDe> FmAcercaDe;
    std::unique_ptr<TFCarAscii> FCarAscii;
    std::unique_ptr<TConfMODBUS> ConfMODBUS;
    std::unique_ptr<TFormParvolin> FormParvolin;
};

}  // namespace varelo
