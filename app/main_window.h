#pragma once

#include "app/file_open_dialog.h"
#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/tag_session.h"
#include "platform/clock.h"
#include "platform/form_timer.h"
#include "platform/ui/modal_boxes.h"
#include "serial/comm_port_driver.h"
#include "util/shared_state.h"

#include <QMainWindow>

class QAction;
class QCheckBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollArea;

namespace varelo {

class TConfigPort1;
class TConfMODBUS;
class TFormParvolin;
class TQVBcrt;
class TSpinEdit;
struct FixedLineSettings;
struct ModbusCommand;

// The main window: two serial ports, the terminal view on which all traffic is
// shown, the menus from which everything starts, and the capture file. It only
// wires: each handler is a few lines that call the pieces doing the work. The
// handlers are spread over files by topic (ports, capture file, reference windows).
class TFmEscuchar : public QMainWindow {
    Q_OBJECT
  public:
    // The program's other windows. They are created after the main window, so
    // they are handed to it once they exist.
    struct Windows {
        TConfigPort1* ConfigPort1 = nullptr;
        QDialog* CaracteresDeControl = nullptr;
        QDialog* FmAcercaDe = nullptr;
        QDialog* FCarAscii = nullptr;
        TConfMODBUS* ConfMODBUS = nullptr;
        TFormParvolin* FormParvolin = nullptr;
    };

    // Builds the window and runs FormCreate: both ports are opened, and a port that
    // cannot be opened is reported now, before the window is shown.
    TFmEscuchar(SharedState& shared, ModalBoxes& boxes, const WallClock& wallClock,
                const TickClock& tickClock, QWidget* parent = nullptr);
    ~TFmEscuchar() override;

    void AttachWindows(const Windows& windows) {
        windows_ = windows;
        attachTagWindow();
    }

    // Start-up, activation and close.
    void FormCreate();
    void FormActivate();
    void FormClose();

    // Ports (main_window_ports.cpp).
    void OpenPort1();
    void ClosePort1();
    void OpenPort2();
    void ClosePort2();
    void AbrirPuerto1Click() { OpenPort1(); }
    void CerrarPuerto1Click() { ClosePort1(); }
    void AbrirPuerto2Click() { OpenPort2(); }
    void CerrarPuerto2Click() { ClosePort2(); }
    void ConfigurarPuerto1Click();
    void ConfigurarPuerto2Click();

    // Capture file (main_window_file.cpp).
    void Nuevo1Click();
    void Cerrar1Click();

    // Reference windows and exit (main_window_help.cpp).
    void Acercade1Click();
    void CarcteresdeControl1Click();
    void CaracteresAscii1Click();
    void Salir1Click();

    // Sending (stand-ins until the scheduler is wired).
    void StartTelegram(const std::string& editTlgText, std::uint32_t tlgType);
    bool StartSending();
    void BloqueTlgClick();
    void Cortar1Click();

    // MODBUS master and tag reader (main_window_modbus.cpp).
    void PollingMODBUS1Click();
    void PollingMODBUSRTU1Click();
    void DemandaMODBUSASCII1Click();
    void DemandaMODBUSRTU1Click();
    void LeerParvolin1Click();

    // Controls.
    QGroupBox* GBSend;
    QLabel* Label5;
    QRadioButton* RBPuerto1;
    QRadioButton* RBPuerto2;
    QLineEdit* EditTlg;
    QLabel* Label8;
    TSpinEdit* SEFrecuencia;
    QLabel* Label9;
    TSpinEdit* SEDelay;
    QCheckBox* CBReflejo;
    QLabel* Label1;
    QLineEdit* EditFichero;
    QLineEdit* EditLng;
    QFrame* Panel1;
    QScrollArea* ScrollBox1;
    TQVBcrt* QVB;
    FileOpenDialog OpenDialog1;
    FormTimer Timer1;
    FormTimer TimerModBus;

    // Main menu.
    QMenu* Archivo1;
    QAction* Nuevo1;
    QAction* Cerrar1;
    QAction* N1;
    QAction* Acercade1;
    QAction* Salir1;
    QMenu* Configurar1;
    QAction* ConfigurarPuerto1;
    QAction* ConfigurarPuerto2;
    QMenu* Puertos1;
    QAction* AbrirPuerto1;
    QAction* CerrarPuerto1;
    QAction* N3;
    QAction* AbrirPuerto2;
    QAction* CerrarPuerto2;
    QMenu* Ver1;
    QAction* AsciiHexadecimal1;
    QAction* CtrlASCIIHexadecimal1;
    QAction* Hexadecimal1;
    QAction* BloqueTlg;
    QAction* SaltardeLineayHoraporTlg1;
    QAction* ModoTerminal1;
    QAction* BorrarPantalla1;
    QMenu* Enviar1;
    QAction* FechayHora1;
    QAction* TLGTipo1;
    QAction* TLGTipo2;
    QAction* TlgTest1;
    QAction* Polling1;
    QAction* PollingMODBUS1;
    QAction* PollingMODBUSRTU1;
    QAction* DemandaMODBUSASCII1;
    QAction* DemandaMODBUSRTU1;
    QAction* LeerParvolin1;
    QAction* FicheroTexto1;
    QAction* Cortar1;
    QMenu* Ayuda1;
    QAction* CarcteresdeControl1;
    QAction* CaracteresAscii1;

    // The two serial ports.
    TCommPortDriver Port1;
    TCommPortDriver Port2;

    // State kept by the window: display modes, capturing, sending, counters.
    MonitorState State;
    varelo::CaptureFile CaptureFile;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void setUpPorts();
    // Runs the handler when the item is clicked, inside the run-time error guard.
    void onClick(QAction* item, void (TFmEscuchar::*handler)());
    void openPort(TCommPortDriver& port, QAction* openItem, QAction* closeItem, const char* failure);
    void closePort(TCommPortDriver& port, QAction* openItem, QAction* closeItem);
    void configurePort(TCommPortDriver& port, void (TFmEscuchar::*closeIt)(), void (TFmEscuchar::*openIt)());

    // MODBUS commands (main_window_modbus.cpp): each sets the chosen port's line.
    void connectModbusItems();
    void reopenChosenPort(const FixedLineSettings& line);
    void startModbusPoll(const ModbusCommand& command);
    void startModbusRequest(const ModbusCommand& command);

    // The tag reading session's part in the receive path and the scheduler's
    // tick (main_window_tag_hooks.cpp).
    void attachTagWindow();
    void onTagResponse(const std::string& block);
    void onTagLampsSilver();
    void onTagLedToggle();

    SharedState& shared_;
    ModalBoxes& boxes_;
    const WallClock& wallClock_;
    const TickClock& tickClock_;
    Windows windows_;
    bool activated_ = false;
    TagSession tagSession_{shared_, boxes_, TimerModBus};
};

}  // namespace varelo
