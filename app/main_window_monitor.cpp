#include "app/main_window.h"

#include "app/monitor/telegram_builders.h"
#include "app/monitor/view_menu.h"
#include "app/system_regional_settings.h"
#include "app/terminal_monitor_view.h"
#include "platform/ui/handler_guard.h"
#include "terminal/terminal_view.h"
#include "widgets/spin_edit.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>

namespace varelo {

// Builds the line monitor and the telegram generator over the window's controls and
// hands each control, timer and driver its handler.
void TFmEscuchar::wireMonitor() {
    monitorView_ = std::make_unique<TerminalMonitorView>(*QVB);
    regional_ = std::make_unique<SystemRegionalSettings>();
    builders_ = std::make_unique<TelegramBuilders>(State, shared_, *regional_);
    ReceiveWindow& receiveWindow = *this;
    SchedulerWindow& schedulerWindow = *this;
    receivePath_ =
        std::make_unique<ReceivePath>(State, shared_, *monitorView_, CaptureFile, wallClock_, receiveWindow);
    scheduler_ = std::make_unique<TransmissionScheduler>(State, shared_, *builders_, *monitorView_,
                                                         CaptureFile, schedulerWindow, boxes_);
    viewMenu_ = std::make_unique<ViewMenu>(State);

    Port1.SetOnReceiveData([this](TCommPortDriver& sender, const std::uint8_t* bytes, std::uint32_t size) {
        runGuarded(receiveErrors_, [&] { Port1ReceiveData(sender, bytes, size); });
    });
    Port2.SetOnReceiveData([this](TCommPortDriver& sender, const std::uint8_t* bytes, std::uint32_t size) {
        runGuarded(receiveErrors_, [&] { Port2ReceiveData(sender, bytes, size); });
    });
    Timer1.setOnTimer([this] { runGuarded(boxes_, [this] { Timer1Timer(); }); });
    SEFrecuencia->setOnChange([this] { runGuarded(boxes_, [this] { SEFrecuenciaChange(); }); });
    SEDelay->setOnChange([this] { runGuarded(boxes_, [this] { SEDelayChange(); }); });
    QVB->SetOnKeyPress([this](char& key) { runGuarded(boxes_, [&] { QVBKeyPress(key); }); });

    onClick(AsciiHexadecimal1, &TFmEscuchar::AsciiHexadecimal1Click);
    onClick(CtrlASCIIHexadecimal1, &TFmEscuchar::CtrlASCIIHexadecimal1Click);
    onClick(Hexadecimal1, &TFmEscuchar::Hexadecimal1Click);
    onClick(BloqueTlg, &TFmEscuchar::BloqueTlgClick);
    onClick(SaltardeLineayHoraporTlg1, &TFmEscuchar::SaltardeLineayHoraporTlg1Click);
    onClick(ModoTerminal1, &TFmEscuchar::ModoTerminal1Click);
    onClick(BorrarPantalla1, &TFmEscuchar::BorrarPantalla1Click);

    onClick(FechayHora1, &TFmEscuchar::FechayHora1Click);
    onClick(TLGTipo1, &TFmEscuchar::TLGTipo1Click);
    onClick(TLGTipo2, &TFmEscuchar::TLGTipo2Click);
    onClick(TlgTest1, &TFmEscuchar::TlgTest1Click);
    onClick(Polling1, &TFmEscuchar::Polling1Click);
    onClick(FicheroTexto1, &TFmEscuchar::FicheroTexto1Click);
    onClick(Cortar1, &TFmEscuchar::Cortar1Click);
}

char TFmEscuchar::selectedPort() const {
    return RBPuerto1->isChecked() ? '1' : '2';
}

TCommPortDriver& TFmEscuchar::selectedDriver() {
    return selectedPort() == '1' ? Port1 : Port2;
}

bool TFmEscuchar::Return485Checked() const {
    return CBReflejo->isChecked();
}

}  // namespace varelo
