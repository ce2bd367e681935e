#include "app/main_window.h"

#include <QDialog>

namespace varelo {

namespace {

void showModal(QDialog* window) {
    if (window) window->exec();
}

}  // namespace

void TFmEscuchar::Acercade1Click() {
    showModal(windows_.FmAcercaDe);
}
void TFmEscuchar::CarcteresdeControl1Click() {
    showModal(windows_.CaracteresDeControl);
}
void TFmEscuchar::CaracteresAscii1Click() {
    showModal(windows_.FCarAscii);
}
void TFmEscuchar::Salir1Click() {
    close();
}

}  // namespace varelo
