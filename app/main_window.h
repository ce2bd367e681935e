#pragma once

#include "app/capture_backlog_watch.h"
#include "app/file_open_dialog.h"
#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/receive_path.h"
#include "app/monitor/transmission_scheduler.h"
#include "app/tag_session.h"
#include "platform/clock.h"
#include "platform/form_timer.h"
#include "platform/ui/modal_boxes.h"
#include "platform/ui/posted_error_box.h"
#include "serial/comm_port_driver.h"
#include "util/shared_state.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>

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

class ConverterPanel;
class TConfigPort1;
class TConfMODBUS;
class TFormParvolin;
class TQVBcrt;
class TSpinEdit;
class SystemRegionalSettings;
class TelegramBuilders;
class TerminalMonitorView;
class ViewMenu;
struct ModbusCommand;

// The main window: two serial ports, the terminal view on which all traffic is
// shown, the menus from which everything starts, and the capture file. It only
// wires: each handler is a few lines that call the pieces doing the work. The
// handlers are spread over files by topic (ports, capture file, reference windows,
// receive path, View menu, sending).
class TFmEscuchar : public QMainWindow, private ReceiveWindow, private SchedulerWindow {
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

    // Receive path: the drivers' receive-data handlers (main_window_receive.cpp).
    void Port1ReceiveData(TCommPortDriver& sender, const std::uint8_t* bytes, std::uint32_t size);
    void Port2ReceiveData(TCommPortDriver& sender, const std::uint8_t* bytes, std::uint32_t size);

    // View menu and typed keys (main_window_view.cpp). BloqueTlgClick is also how
    // the Send commands switch one telegram per line on.
    void Hexadecimal1Click();
    void AsciiHexadecimal1Click();
    void CtrlASCIIHexadecimal1Click();
    void BloqueTlgClick();
    void SaltardeLineayHoraporTlg1Click();
    void ModoTerminal1Click();
    void BorrarPantalla1Click();
    void QVBKeyPress(char& key);

    // Sending (main_window_scheduler.cpp).
    // The steps every Send command that starts sending ends with: the telegram's
    // name into EditTlg (UTF-8), its type, StartSending, and one telegram per line
    // switched on. The name, type and line setting stay even when the start is refused.
    void StartTelegram(const std::string& editTlgText, std::uint32_t tlgType);
    // Starts (or keeps) the scheduler, unless the chosen port is not open, which is
    // reported ("Port 1 is not open"). True when sending was started.
    bool StartSending();
    void Cortar1Click();
    void Timer1Timer();
    void SEFrecuenciaChange();
    void SEDelayChange();
    // Closes the chosen port, gives it these line settings and opens it again.
    void ReopenSelectedPort(TDataBits dataBits, TParity parity, TStopBits stopBits, TBaudRate baudRate);
    TransmissionScheduler& Scheduler() { return *scheduler_; }

    // Fixed telegrams and the text file (main_window_send.cpp).
    void FechayHora1Click();
    void TLGTipo1Click();
    void TLGTipo2Click();
    void TlgTest1Click();
    void Polling1Click();
    void FicheroTexto1Click();

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
    ConverterPanel* Panel1;
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
    // The window's outer size, frame included, as it starts and after a send ends.
    void ResizeToDesignSize();
    void buildControls();
    void buildMenus();
    void setUpPorts();
    // Runs the handler when the item is clicked, inside the run-time error guard.
    void onClick(QAction* item, void (TFmEscuchar::*handler)());
    void openPort(TCommPortDriver& port, QAction* openItem, QAction* closeItem, const char* failure);
    void closePort(TCommPortDriver& port, QAction* openItem, QAction* closeItem);
    void configurePort(TCommPortDriver& port, void (TFmEscuchar::*closeIt)(), void (TFmEscuchar::*openIt)());

    // MODBUS commands (main_window_modbus.cpp).
    void connectModbusItems();
    void startModbusPoll(const ModbusCommand& command);
    void startModbusRequest(const ModbusCommand& command);

    // The monitor's pieces, wired to the controls (main_window_monitor.cpp).
    void wireMonitor();
    void showViewMenu();
    void clickViewMenu(void (ViewMenu::*click)());
    char selectedPort() const;
    TCommPortDriver& selectedDriver();
    void echoTextFile(char port, const std::string& sent);

    // ReceiveWindow
    bool Return485Checked() const override;
    void StopTimerModBus() override;
    void ProcessTagResponse(const std::string& block) override;
    void SetEditLng(const std::string& text) override;
    // SchedulerWindow
    char SelectedPort() const override { return selectedPort(); }
    bool PortOpen(char port) const override;
    bool Timer1Enabled() const override;
    void SetTimer1Enabled(bool enabled) override;
    void EditTiempoChange() override;
    void SendString(char port, const std::string& telegram) override;
    void SetTagLampsSilver() override;
    void ToggleTagLed() override;

    // The tag reader's part in receiving and sending (main_window_tag_hooks.cpp).
    void attachTagWindow();
    void onTagResponse(const std::string& block);
    void onTagLampsSilver();
    void onTagLedToggle();

    SharedState& shared_;
    ModalBoxes& boxes_;
    // The error box of the receive handlers and of the capture's held-back bytes,
    // shown once the port's tick (or the pipe's turn) has returned.
    PostedErrorBox receiveErrors_{boxes_};
    CaptureBacklogWatch captureBacklog_{CaptureFile, receiveErrors_};
    const WallClock& wallClock_;
    const TickClock& tickClock_;
    Windows windows_;
    bool activated_ = false;

    std::unique_ptr<TerminalMonitorView> monitorView_;
    std::unique_ptr<SystemRegionalSettings> regional_;
    std::unique_ptr<TelegramBuilders> builders_;
    std::unique_ptr<ReceivePath> receivePath_;
    std::unique_ptr<TransmissionScheduler> scheduler_;
    std::unique_ptr<ViewMenu> viewMenu_;
    TagSession tagSession_{shared_, boxes_, TimerModBus};
};

}  // namespace varelo
