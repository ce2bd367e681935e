#include "serial/ui/config_port_dialog.h"

#include "widgets/outer_size.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <initializer_list>

namespace varelo {

namespace {

QLabel* makeLabel(QWidget* parent, const char* caption, int left, int top) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QComboBox* makeList(QWidget* parent, const char* name, int top) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false);
    list->setGeometry(80, top, 89, 21);
    return list;
}

void fill(QComboBox* list, std::initializer_list<const char*> items) {
    for (const char* item : items) list->addItem(QString::fromLatin1(item));
    list->setCurrentIndex(-1);
}

// The list's index when it stands for a value in [first, last], else -1.
int choiceIn(const QComboBox* list, int first, int last) {
    const int index = list->currentIndex();
    return index >= first && index <= last ? index : -1;
}

}  // namespace

TConfigPort1::TConfigPort1(QWidget* parent) : QDialog(parent) {
    setObjectName("ConfigPort1");
    setWindowTitle(" Settings Port");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    Label1 = makeLabel(this, "Port", 8, 12);
    Label2 = makeLabel(this, "Baud", 8, 41);
    Label3 = makeLabel(this, "Data bits", 8, 69);
    Label4 = makeLabel(this, "Stop bits", 8, 98);
    Label5 = makeLabel(this, "Parity", 8, 127);
    Label6 = makeLabel(this, "Soft Control:", 8, 155);
    Label7 = makeLabel(this, "Hard Control", 8, 184);

    cboPort = makeList(this, "cboPort", 8);
    cboBaud = makeList(this, "cboBaud", 37);
    cboData = makeList(this, "cboData", 65);
    cboStop = makeList(this, "cboStop", 94);
    cboParity = makeList(this, "cboParity", 123);
    cboFlow = makeList(this, "cboFlow", 151);
    CboHand = makeList(this, "CboHand", 180);

    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(60, 212, 73, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TConfigPort1::btnOKClick);

    setTabOrder(cboPort, cboBaud);
    setTabOrder(cboBaud, cboData);
    setTabOrder(cboData, cboParity);
    setTabOrder(cboParity, cboStop);
    setTabOrder(cboStop, cboFlow);
    setTabOrder(cboFlow, btnOK);
    setTabOrder(btnOK, CboHand);
    setOuterSize(this, {200, 275}, Resizing::Fixed);

    FormCreate();
}

void TConfigPort1::FormCreate() {
    fill(cboPort,
         {"(Custom)", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"});
    fill(cboBaud, {"(Custom)", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                   "56000", "57600", "115200", "128000", "256000"});
    fill(cboData, {"5", "6", "7", "8"});
    fill(cboParity, {"None  - Sin", "Odd   - Impar", "Even  - Par", "Mark  - Marca", "Space - Espacio"});
    fill(cboStop, {"1", "1.5", "2"});
    fill(cboFlow, {"None", "XON/XOFF"});
    fill(CboHand, {"None", "RTS/CTS"});
}

void TConfigPort1::btnOKClick() {
    close();
}

void TConfigPort1::ShowModal() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void TConfigPort1::LoadFrom(const TCommPortDriver& port) {
    cboPort->setCurrentIndex(port.Port());
    cboBaud->setCurrentIndex(port.BaudRate());
    cboData->setCurrentIndex(port.DataBits());
    cboParity->setCurrentIndex(port.Parity());
    cboStop->setCurrentIndex(port.StopBits());
    // The list offers no handshake or RTS/CTS; a line with RTS held on shows no choice and keeps it.
    switch (port.HwFlow()) {
        case hfNONE:
            CboHand->setCurrentIndex(0);
            break;
        case hfRTSCTS:
            CboHand->setCurrentIndex(1);
            break;
        default:
            CboHand->setCurrentIndex(-1);
            break;
    }
    cboFlow->setCurrentIndex(port.SwFlow());
}

void TConfigPort1::StoreTo(TCommPortDriver& port) const {
    if (const int n = choiceIn(cboPort, pnCOM1, pnCOM16); n >= 0) port.SetPort(static_cast<TPortNumber>(n));
    if (const int n = choiceIn(cboBaud, br110, br256000); n >= 0) port.SetBaudRate(static_cast<TBaudRate>(n));
    if (const int n = choiceIn(cboParity, ptNONE, ptSPACE); n >= 0) port.SetParity(static_cast<TParity>(n));
    if (const int n = choiceIn(cboData, db5BITS, db8BITS); n >= 0)
        port.SetDataBits(static_cast<TDataBits>(n));
    if (const int n = choiceIn(cboStop, sb1BITS, sb2BITS); n >= 0)
        port.SetStopBits(static_cast<TStopBits>(n));
    if (const int n = choiceIn(cboFlow, sfNONE, sfXONXOFF); n >= 0)
        port.SetSwFlow(static_cast<TSwFlowControl>(n));
    if (const int n = choiceIn(CboHand, 0, 1); n >= 0) port.SetHwFlow(n == 0 ? hfNONE : hfRTSCTS);
}

}  // namespace varelo
