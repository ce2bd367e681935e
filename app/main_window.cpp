#include "app/main_window.h"

#include "app/converter/converter_panel.h"
#include "app/monitor/telegram_builders.h"
#include "app/monitor/view_menu.h"
#include "app/system_regional_settings.h"
#include "app/terminal_monitor_view.h"
#include "platform/ui/handler_guard.h"
#include "terminal/terminal_view.h"
#include "util/colour.h"
#include "widgets/group_box_caption.h"
#include "widgets/outer_size.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>

namespace varelo {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A read-only field that the program writes and the user only reads: no tab stop.
QLineEdit* makeReadOnlyEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setGeometry(geometry);
    return edit;
}

TSpinEdit* makeSpinEdit(ModalBoxes& boxes, QWidget* parent, const char* name, int min, int max, int increment,
                        int value, const QRect& geometry) {
    auto* spin = new TSpinEdit(boxes, parent);
    spin->setObjectName(name);
    spin->setMinValue(min);
    spin->setMaxValue(max);
    spin->setIncrement(increment);
    spin->setValue(value);
    spin->setGeometry(geometry);
    return spin;
}

}  // namespace

TFmEscuchar::TFmEscuchar(SharedState& shared, ModalBoxes& boxes, const WallClock& wallClock,
                         const TickClock& tickClock, QWidget* parent)
    : QMainWindow(parent),
      Timer1(nullptr, 1000),
      TimerModBus(nullptr, 1000),
      shared_(shared),
      boxes_(boxes),
      wallClock_(wallClock),
      tickClock_(tickClock) {
    setObjectName("FmEscuchar");
    setWindowTitle(" Varelo");
    QFont font("System");
    font.setPixelSize(11);
    setFont(font);
    OpenDialog1.Filter = "Archivos de Texto|*.TXT|Todos los Archivos|*.*";

    buildControls();
    buildMenus();
    setUpPorts();
    wireMonitor();
    runGuarded(boxes_, [this] { FormCreate(); });
}

TFmEscuchar::~TFmEscuchar() = default;

void TFmEscuchar::buildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    GBSend = new QGroupBox(" Send Data ", client);
    GBSend->setObjectName("GBSend");
    GBSend->setGeometry(4, 0, 177, 69);
    putCaptionOnFrameLine(GBSend);
    Label5 = makeLabel(GBSend, "Label5", "Port", 8, 14);
    RBPuerto1 = new QRadioButton("1", GBSend);
    RBPuerto1->setObjectName("RBPuerto1");
    RBPuerto1->setGeometry(12, 28, 25, 17);
    RBPuerto1->setChecked(true);
    RBPuerto2 = new QRadioButton("2", GBSend);
    RBPuerto2->setObjectName("RBPuerto2");
    RBPuerto2->setGeometry(12, 44, 29, 17);
    EditTlg = makeReadOnlyEdit(GBSend, "EditTlg", {50, 17, 121, 21});
    EditTlg->setToolTip("Tipo de Telegrama configurado para enviar");
    Label8 = makeLabel(GBSend, "Label8", "Frec.- ms.", 50, 46);
    SEFrecuencia = makeSpinEdit(boxes_, GBSend, "SEFrecuencia", 10, 10000000, 100, 1000, {112, 41, 63, 22});

    Label9 = makeLabel(client, "Label9", "Delay", 188, 6);
    SEDelay = makeSpinEdit(boxes_, client, "SEDelay", 10, 1000, 10, 50, {228, 3, 49, 22});
    CBReflejo = new QCheckBox("Return 485", client);
    CBReflejo->setObjectName("CBReflejo");
    CBReflejo->setLayoutDirection(Qt::RightToLeft);  // caption left of the box
    CBReflejo->setGeometry(284, 5, 81, 17);
    CBReflejo->setChecked(true);
    Label1 = makeLabel(client, "Label1", "File", 380, 5);
    EditFichero = makeReadOnlyEdit(client, "EditFichero", {428, 0, 149, 22});
    EditLng = makeReadOnlyEdit(client, "EditLng", {580, 0, 49, 22});

    Panel1 = new ConverterPanel(boxes_, client);
    Panel1->setGeometry(184, 28, 445, 41);

    ScrollBox1 = new QScrollArea(client);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setGeometry(4, 72, 625, 357);
    auto* scrolled = new QWidget;
    scrolled->setAutoFillBackground(true);
    QPalette white = scrolled->palette();
    white.setColor(QPalette::Window, Qt::white);
    scrolled->setPalette(white);

    QVB = new TQVBcrt(scrolled);
    QVB->setObjectName("QVB");
    QFont crtFont("Courier New");
    crtFont.setPixelSize(11);
    QVB->setFont(crtFont);
    QVB->SetColumns(88);
    QVB->SetRows(24);
    QVB->SetBackColor(colours::SystemWindow);
    QVB->SetTextColor(colours::SystemWindowText);
    QVB->SetLineBreak(TLineBreak::CRLF);
    QVB->move(4, 8);  // the view takes its size from its cells: 616 x 336 with this font
    scrolled->setMinimumSize(QVB->geometry().right() + 1, QVB->geometry().bottom() + 1);
    ScrollBox1->setWidget(scrolled);
    ScrollBox1->setWidgetResizable(true);
    setFocusProxy(QVB);
}

// The drivers as the window defines them: each port named by its device path,
// no handshake with RTS and DTR held off.
void TFmEscuchar::setUpPorts() {
    Port1.SetPort(pnCustom);
    Port1.SetPortName("\\\\.\\COM1");
    Port1.SetHwFlow(hfNONE);
    Port1.SetEnableDTROnOpen(false);
    Port2.SetPort(pnCustom);
    Port2.SetPortName("\\\\.\\COM2");
    Port2.SetHwFlow(hfNONE);
    Port2.SetEnableDTROnOpen(false);
}

void TFmEscuchar::FormCreate() {
    Port1.SetPort(pnCOM1);
    Port2.SetPort(pnCOM2);
    OpenPort1();
    OpenPort2();
    State.CodeCounter = 123456789;
    State.PrefixIndex = 1;
    ResizeToDesignSize();
}

void TFmEscuchar::ResizeToDesignSize() {
    setOuterSize(this, {640, 480});
}

void TFmEscuchar::FormActivate() {
    move(0, 0);
    QVB->ClearScreen();
    activateWindow();
    QVB->setFocus();
    State.Capturing = false;
    State.HexMode = false;
}

void TFmEscuchar::FormClose() {
    ClosePort1();
    ClosePort2();
    Cerrar1Click();
}

bool TFmEscuchar::event(QEvent* event) {
    // Later activations (after each dialog closes) leave everything as it is: repeating
    // the steps would wipe the screen and stop capturing without closing the file.
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        runGuarded(boxes_, [this] { FormActivate(); });
    }
    return QMainWindow::event(event);
}

void TFmEscuchar::closeEvent(QCloseEvent* event) {
    // A close that ends in a run-time error keeps the window, as any handler that
    // fails stops where it failed; closing again finishes the job.
    if (!runGuarded(boxes_, [this] { FormClose(); })) event->ignore();
}

void TFmEscuchar::onClick(QAction* item, void (TFmEscuchar::*handler)()) {
    connect(item, &QAction::triggered, this,
            [this, handler] { runGuarded(boxes_, [&] { (this->*handler)(); }); });
}

}  // namespace varelo
