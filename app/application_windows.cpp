#include "app/application_windows.h"

#include "modbus/ui/modbus_request_dialog.h"
#include "modbus/ui/tag_data_window.h"
#include "serial/ui/config_port_dialog.h"
#include "widgets/reference_windows/about_window.h"
#include "widgets/reference_windows/ascii_table_window.h"
#include "widgets/reference_windows/control_characters_window.h"

#include <QApplication>

namespace varelo {

ApplicationWindows::ApplicationWindows(SharedState& shared, ModalBoxes& boxes, const WallClock& wallClock,
                                       const TickClock& tickClock) {
    // Named first: the main window's creation already shows the box of a port that
    // cannot be opened, and a box is captioned with the program's name.
    QApplication::setApplicationName("Varelo");
    FmEscuchar = std::make_unique<TFmEscuchar>(shared, boxes, wallClock, tickClock);
    ConfigPort1 = std::make_unique<TConfigPort1>();
    CaracteresDeControl = std::make_unique<TCaracteresDeControl>();
    FmAcercaDe = std::make_unique<TFmAcercaDe>();
    FCarAscii = std::make_unique<TFCarAscii>();
    ConfMODBUS = std::make_unique<TConfMODBUS>(boxes);
    FormParvolin = std::make_unique<TFormParvolin>();
    // Only the main window keeps the program running: closing it ends the program,
    // whichever of the others is still on screen (the tag data window of a session).
    for (QWidget* other : std::initializer_list<QWidget*>{ConfigPort1.get(), CaracteresDeControl.get(),
                                                          FmAcercaDe.get(), FCarAscii.get(), ConfMODBUS.get(),
                                                          FormParvolin.get()})
        other->setAttribute(Qt::WA_QuitOnClose, false);
    FmEscuchar->AttachWindows({ConfigPort1.get(), CaracteresDeControl.get(), FmAcercaDe.get(), FCarAscii.get(),
                               ConfMODBUS.get(), FormParvolin.get()});
}

ApplicationWindows::~ApplicationWindows() = default;

}  // namespace varelo
