#include "app/main_window.h"

#include "app/monitor/station_count.h"
#include "modbus/modbus_frame.h"
#include "modbus/tag_reader.h"
#include "modbus/ui/modbus_request_dialog.h"
#include "widgets/spin_edit.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

namespace varelo {

// What tells the MODBUS commands apart. All of them run at 9600 baud with one
// stop bit.
struct ModbusCommand {
    const char* telegramName;  // shown in EditTlg while it is sent
    std::uint32_t tlgType;
    TDataBits dataBits;
    TParity parity;
    const char* framing;         // "ASCII" or "RTU"
    const char* stationsPrompt;  // polls only
};

namespace {

// The scheduler's telegram types: 0 sends TlgToSend unchanged at every tick,
// 6 and 7 poll the next station in ASCII or RTU framing.
constexpr std::uint32_t kSendAsItIs = 0;
constexpr std::uint32_t kPollAscii = 6;
constexpr std::uint32_t kPollRtu = 7;

// The RTU request (like the tag reader) uses odd parity, the RTU poll even parity.
const ModbusCommand kPollingAscii{"Polling ModBusASCII", kPollAscii, db7BITS, ptEVEN, "ASCII",
                                  "N\u00ba Estaciones"};
const ModbusCommand kPollingRtu{"Polling ModBusRTU", kPollRtu, db8BITS, ptEVEN, "RTU", "Number of Stations"};
const ModbusCommand kRequestAscii{"Demanda ModBusASCII", kSendAsItIs, db7BITS, ptEVEN, "ASCII", ""};
const ModbusCommand kRequestRtu{"Demanda ModBusRTU", kSendAsItIs, db8BITS, ptODD, "RTU", ""};

constexpr int kTagPeriodMs = 400;
constexpr int kTagPollingDelayMs = 10;

}  // namespace

void TFmEscuchar::connectModbusItems() {
    onClick(PollingMODBUS1, &TFmEscuchar::PollingMODBUS1Click);
    onClick(PollingMODBUSRTU1, &TFmEscuchar::PollingMODBUSRTU1Click);
    onClick(DemandaMODBUSASCII1, &TFmEscuchar::DemandaMODBUSASCII1Click);
    onClick(DemandaMODBUSRTU1, &TFmEscuchar::DemandaMODBUSRTU1Click);
    onClick(LeerParvolin1, &TFmEscuchar::LeerParvolin1Click);
}

void TFmEscuchar::PollingMODBUS1Click() {
    startModbusPoll(kPollingAscii);
}
void TFmEscuchar::PollingMODBUSRTU1Click() {
    startModbusPoll(kPollingRtu);
}
void TFmEscuchar::DemandaMODBUSASCII1Click() {
    startModbusRequest(kRequestAscii);
}
void TFmEscuchar::DemandaMODBUSRTU1Click() {
    startModbusRequest(kRequestRtu);
}

// The telegram's name and type are set before the station count is asked, so a
// count that is no number leaves them changed and the scheduler as it was.
void TFmEscuchar::startModbusPoll(const ModbusCommand& command) {
    ReopenSelectedPort(command.dataBits, command.parity, sb1BITS, br9600);
    EditTlg->setText(command.telegramName);
    State.TlgType = command.tlgType;
    State.StationCount =
        ModbusStationCountFromAnswer(boxes_.inputBox("Polling", command.stationsPrompt, "6"));
    State.Station = 0;
    StartTelegram(command.telegramName, command.tlgType);
}

// However the settings dialog is closed, the request goes out as its fields say.
void TFmEscuchar::startModbusRequest(const ModbusCommand& command) {
    ReopenSelectedPort(command.dataBits, command.parity, sb1BITS, br9600);
    TConfMODBUS& dialog = *windows_.ConfMODBUS;
    dialog.showModal();
    shared_.TlgToSend =
        BuildModbusFrame(dialog.SEEstacion->value(), dialog.SEFuncion->value(), dialog.SEDireccion->value(),
                         dialog.SECantidad->value(), command.framing);
    StartTelegram(command.telegramName, command.tlgType);
}

// The tag reader answers at 8 data bits with odd parity. The period and delay go
// through their fields, so the scheduler and both ports follow at once; "Return
// 485" keeps the echo of each request out of the reader's responses on port 1.
// The scheduler's start ends any session, so this one begins after it.
void TFmEscuchar::LeerParvolin1Click() {
    ReopenSelectedPort(db8BITS, ptODD, sb1BITS, br9600);
    ResizeToDesignSize();
    EditTlg->setText("Parvolin-ModBusRTU");
    const std::int32_t station = TagStationFromAnswer(boxes_.inputBox("Parvolin", "Station Number", "1"));
    tagSession_.prepare(station);
    State.TlgType = kSendAsItIs;
    SEFrecuencia->setValue(kTagPeriodMs);
    SEDelay->setValue(kTagPollingDelayMs);
    CBReflejo->setChecked(true);
    tagSession_.initialize();
    StartSending();
    tagSession_.begin();
    if (!State.SkipLine) BloqueTlgClick();
    tagSession_.showWindow();
}

}  // namespace varelo
