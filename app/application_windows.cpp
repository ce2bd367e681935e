#include "app/application_windows.h"

#include "serial/ui/config_port_dialog.h"
#include "widgets/reference_windows/about_window.h"
#include "widgets/reference_windows/ascii_table_window.h"
#include "widgets/reference_windows/control_characters_window.h"

#include <QApplication>
#include <QDialog>

namespace varelo {

namespace {

// Stands in for a window whose content is still to come.
std::unique_ptr<QDialog> emptyWindow(const char* name, const char* caption) {
    auto window = std::make_unique<QDialog>();
    window->setObjectName(name);
    window->setWindowTitle(QString::fromUtf8(caption));
    return window;
}

}  // namespace

ApplicationWindows::ApplicationWindows(SharedState& shared, ModalBoxes& boxes, const WallClock& wallClock,
                                       const TickClock& tickClock) {
    FmEscuchar = std::make_unique<TFmEscuchar>(shared, boxes, wallClock, tickClock);
    QApplication::setApplicationName("Varelo");
    ConfigPort1 = std::make_unique<TConfigPort1>();
    CaracteresDeControl = std::make_unique<TCaracteresDeControl>();
    FmAcercaDe = std::make_unique<TFmAcercaDe>();
    FCarAscii = std::make_unique<TFCarAscii>();
    ConfMODBUS = emptyWindow("ConfMODBUS", "ConfMODBUS");
    FormParvolin = emptyWindow("FormParvolin", "FormParvolin");
    FmEscuchar->AttachWindows(
        {ConfigPort1.get(), CaracteresDeControl.get(), FmAcercaDe.get(), FCarAscii.get()});
}

ApplicationWindows::~ApplicationWindows() = default;

}  // namespace varelo
