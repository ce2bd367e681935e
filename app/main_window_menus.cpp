#include "app/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace varelo {

namespace {

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(name);
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* line = menu->addSeparator();
    line->setObjectName(name);
    return line;
}

}  // namespace

void TFmEscuchar::buildMenus() {
    QMenuBar* bar = menuBar();

    Archivo1 = addMenu(bar, "Archivo1", "&File");
    Nuevo1 = addItem(Archivo1, "Nuevo1", "&New");
    Cerrar1 = addItem(Archivo1, "Cerrar1", "&Close");
    Cerrar1->setEnabled(false);
    N1 = addSeparator(Archivo1, "N1");
    Acercade1 = addItem(Archivo1, "Acercade1", "&About");
    Salir1 = addItem(Archivo1, "Salir1", "&Exit");

    Configurar1 = addMenu(bar, "Configurar1", "&Config");
    ConfigurarPuerto1 = addItem(Configurar1, "ConfigurarPuerto1", "Port &1");
    ConfigurarPuerto2 = addItem(Configurar1, "ConfigurarPuerto2", "Port &2");

    // The open and close items of each port are set when the ports are opened.
    Puertos1 = addMenu(bar, "Puertos1", "&Port");
    AbrirPuerto1 = addItem(Puertos1, "AbrirPuerto1", "&Open Port 1");
    CerrarPuerto1 = addItem(Puertos1, "CerrarPuerto1", "&Close Port 1");
    N3 = addSeparator(Puertos1, "N3");
    AbrirPuerto2 = addItem(Puertos1, "AbrirPuerto2", "O&pen Port 2");
    CerrarPuerto2 = addItem(Puertos1, "CerrarPuerto2", "C&lose Port 2");

    Ver1 = addMenu(bar, "Ver1", "&View");
    AsciiHexadecimal1 = addItem(Ver1, "AsciiHexadecimal1", "&ASCII - Hexa");
    AsciiHexadecimal1->setEnabled(false);  // the display mode in force
    CtrlASCIIHexadecimal1 = addItem(Ver1, "CtrlASCIIHexadecimal1", "&Ctrl - ASCII - Hexa");
    Hexadecimal1 = addItem(Ver1, "Hexadecimal1", "&Hexa");
    BloqueTlg = addItem(Ver1, "BloqueTlg", "Skip of &Line for each Tlg");
    SaltardeLineayHoraporTlg1 =
        addItem(Ver1, "SaltardeLineayHoraporTlg1", "&Skip of Line and hour for each tlg");
    ModoTerminal1 = addItem(Ver1, "ModoTerminal1", "&Terminal mode");
    BorrarPantalla1 = addItem(Ver1, "BorrarPantalla1", "Clear &Screen");

    Enviar1 = addMenu(bar, "Enviar1", "&Send");
    FechayHora1 = addItem(Enviar1, "FechayHora1", "Date and &Hour");
    TLGTipo1 = addItem(Enviar1, "TLGTipo1", "Code of &11 Char");
    TLGTipo2 = addItem(Enviar1, "TLGTipo2", "&Weight, date and hour");
    TlgTest1 = addItem(Enviar1, "TlgTest1", "&ASCII Char");
    Polling1 = addItem(Enviar1, "Polling1", "Polling &RQZ");
    PollingMODBUS1 = addItem(Enviar1, "PollingMODBUS1", "Polling &MODBUS-ASCII");
    PollingMODBUSRTU1 = addItem(Enviar1, "PollingMODBUSRTU1", "Polling MODBUS-&RTU");
    DemandaMODBUSASCII1 = addItem(Enviar1, "DemandaMODBUSASCII1", "&Request MODBUS-ASCII");
    DemandaMODBUSRTU1 = addItem(Enviar1, "DemandaMODBUSRTU1", "Request MODBUS-R&TU");
    LeerParvolin1 = addItem(Enviar1, "LeerParvolin1", "Reading &Parvolin - MODBUS-RTU");
    FicheroTexto1 = addItem(Enviar1, "FicheroTexto1", "Text &File");
    Cortar1 = addItem(Enviar1, "Cortar1", "&Stop");

    Ayuda1 = addMenu(bar, "Ayuda1", "H&elp");
    CarcteresdeControl1 = addItem(Ayuda1, "CarcteresdeControl1", "Control &Characters");
    CaracteresAscii1 = addItem(Ayuda1, "CaracteresAscii1", "&Ascii Characters");

    onClick(Nuevo1, &TFmEscuchar::Nuevo1Click);
    onClick(Cerrar1, &TFmEscuchar::Cerrar1Click);
    onClick(Acercade1, &TFmEscuchar::Acercade1Click);
    onClick(Salir1, &TFmEscuchar::Salir1Click);
    onClick(ConfigurarPuerto1, &TFmEscuchar::ConfigurarPuerto1Click);
    onClick(ConfigurarPuerto2, &TFmEscuchar::ConfigurarPuerto2Click);
    onClick(AbrirPuerto1, &TFmEscuchar::AbrirPuerto1Click);
    onClick(CerrarPuerto1, &TFmEscuchar::CerrarPuerto1Click);
    onClick(AbrirPuerto2, &TFmEscuchar::AbrirPuerto2Click);
    onClick(CerrarPuerto2, &TFmEscuchar::CerrarPuerto2Click);
    onClick(CarcteresdeControl1, &TFmEscuchar::CarcteresdeControl1Click);
    onClick(CaracteresAscii1, &TFmEscuchar::CaracteresAscii1Click);
    connectModbusItems();
}

}  // namespace varelo
