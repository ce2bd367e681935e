#include "app/application_windows.h"

#include "serial/ui/config_port_dialog.h"

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
    CaracteresDeControl = emptyWindow("CaracteresDeControl", " Caracteres de Control");
    FmAcercaDe = emptyWindow("FmAcercaDe", " Acerca De");
    FCarAscii = emptyWindow("FCarAscii", "FCarAscii");
    ConfMODBUS = emptyWindow("ConfMODBUS", "ConfMODBUS");
    FormParvolin = emptyWindow("FormParvolin", "FormParvolin");
    FmEscuchar->AttachWindows(
        {ConfigPort1.get(), CaracteresDeControl.get(), FmAcercaDe.get(), FCarAscii.get()});
}

ApplicationWindows::~ApplicationWindows() = default;

}  // namespace varelo
