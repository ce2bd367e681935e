#include "app/main_window.h"

#include "serial/ui/config_port_dialog.h"

#include <QAction>

namespace varelo {

// The enabled state of a port's Close item is the program's record of whether the
// port is open; its Open item is always the opposite.

void TFmEscuchar::OpenPort1() {
    openPort(Port1, AbrirPuerto1, CerrarPuerto1, "Unable to open port 1");
}
void TFmEscuchar::ClosePort1() {
    closePort(Port1, AbrirPuerto1, CerrarPuerto1);
}
void TFmEscuchar::OpenPort2() {
    openPort(Port2, AbrirPuerto2, CerrarPuerto2, "Unable to open port 2");
}
void TFmEscuchar::ClosePort2() {
    closePort(Port2, AbrirPuerto2, CerrarPuerto2);
}

void TFmEscuchar::ConfigurarPuerto1Click() {
    configurePort(Port1, &TFmEscuchar::ClosePort1, &TFmEscuchar::OpenPort1);
}
void TFmEscuchar::ConfigurarPuerto2Click() {
    configurePort(Port2, &TFmEscuchar::ClosePort2, &TFmEscuchar::OpenPort2);
}

void TFmEscuchar::openPort(TCommPortDriver& port, QAction* openItem, QAction* closeItem,
                           const char* failure) {
    port.Connect();
    if (port.Connected()) {
        openItem->setEnabled(false);
        closeItem->setEnabled(true);
    } else {
        boxes_.showMessage(failure);
        closePort(port, openItem, closeItem);
    }
}

void TFmEscuchar::closePort(TCommPortDriver& port, QAction* openItem, QAction* closeItem) {
    port.Disconnect();
    openItem->setEnabled(true);
    closeItem->setEnabled(false);
}

// The dialog has no cancel: however it is closed, the port is closed, the choices
// are stored, and the port is opened again, which applies them all at once.
void TFmEscuchar::configurePort(TCommPortDriver& port, void (TFmEscuchar::*closeIt)(),
                                void (TFmEscuchar::*openIt)()) {
    TConfigPort1& dialog = *windows_.ConfigPort1;
    dialog.LoadFrom(port);
    dialog.ShowModal();
    (this->*closeIt)();
    dialog.StoreTo(port);
    (this->*openIt)();
}

}  // namespace varelo
