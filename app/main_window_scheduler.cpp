#include "app/main_window.h"

#include "widgets/spin_edit.h"

#include <QAction>
#include <QLineEdit>

#include <algorithm>
#include <limits>

namespace varelo {

void TFmEscuchar::StartTelegram(const std::string& editTlgText, std::uint32_t tlgType) {
    EditTlg->setText(QString::fromStdString(editTlgText));
    State.TlgType = tlgType;
    StartSending();
    if (!State.SkipLine) BloqueTlgClick();
}

bool TFmEscuchar::StartSending() {
    return scheduler_->StartSending();
}

void TFmEscuchar::Cortar1Click() {
    scheduler_->Stop();
    EditTlg->clear();
    ResizeToDesignSize();
}

void TFmEscuchar::Timer1Timer() {
    scheduler_->Timer1Timer();
}

// A change of the period takes effect at once: a running timer starts its new
// period from now.
void TFmEscuchar::SEFrecuenciaChange() {
    const bool wasEnabled = Timer1.enabled();
    Timer1.setEnabled(false);
    try {
        const std::int32_t period = SEFrecuencia->value();
        if (period > 0) Timer1.setInterval(period);
    } catch (const std::exception&) {
        SEFrecuencia->setValue(10);
    }
    Timer1.setEnabled(wasEnabled);
}

// While the field is being typed in its value may lie outside its limits; the
// drivers only ever get a delay the field allows.
void TFmEscuchar::SEDelayChange() {
    const auto delay = static_cast<std::uint16_t>(std::clamp<std::int32_t>(
        SEDelay->ClampValue(SEDelay->value()), 0, std::numeric_limits<std::uint16_t>::max()));
    Port1.SetPollingDelay(delay);
    Port2.SetPollingDelay(delay);
}

void TFmEscuchar::ReopenSelectedPort(TDataBits dataBits, TParity parity, TStopBits stopBits,
                                     TBaudRate baudRate) {
    const bool first = selectedPort() == '1';
    first ? ClosePort1() : ClosePort2();
    TCommPortDriver& port = first ? Port1 : Port2;
    port.SetDataBits(dataBits);
    port.SetParity(parity);
    port.SetStopBits(stopBits);
    port.SetBaudRate(baudRate);
    first ? OpenPort1() : OpenPort2();
}

// --- what the scheduler asks of the window

bool TFmEscuchar::PortOpen(char port) const {
    return (port == '1' ? CerrarPuerto1 : CerrarPuerto2)->isEnabled();
}

bool TFmEscuchar::Timer1Enabled() const {
    return Timer1.enabled();
}

void TFmEscuchar::SetTimer1Enabled(bool enabled) {
    Timer1.setEnabled(enabled);
}

void TFmEscuchar::EditTiempoChange() {
    Timer1.setInterval(SEFrecuencia->value());
}

void TFmEscuchar::SendString(char port, const std::string& telegram) {
    (port == '1' ? Port1 : Port2).SendString(telegram);
}

void TFmEscuchar::SetTagLampsSilver() {
    onTagLampsSilver();
}

void TFmEscuchar::ToggleTagLed() {
    onTagLedToggle();
}

}  // namespace varelo
