#include "app/monitor/transmission_scheduler.h"

#include "app/monitor/byte_rendering.h"
#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/monitor_view.h"
#include "app/monitor/telegram_builders.h"
#include "app/monitor/telegram_headers.h"
#include "platform/ui/modal_boxes.h"
#include "util/shared_state.h"

namespace varelo {

TransmissionScheduler::TransmissionScheduler(MonitorState& state, SharedState& shared,
                                             TelegramBuilders& builders, MonitorView& view,
                                             CaptureFile& capture, SchedulerWindow& window, ModalBoxes& boxes)
    : state_(state),
      shared_(shared),
      builders_(builders),
      view_(view),
      capture_(capture),
      window_(window),
      boxes_(boxes) {}

bool TransmissionScheduler::StartSending() {
    const char port = window_.SelectedPort();
    if (!window_.PortOpen(port)) {
        boxes_.showMessage(port == '1' ? "Port 1 is not open" : "Port 2 is not open");
        return false;
    }
    window_.EditTiempoChange();
    state_.Sending = true;
    window_.SetTimer1Enabled(true);
    shared_.TagSession = false;
    return true;
}

void TransmissionScheduler::Stop() {
    window_.SetTimer1Enabled(false);
    state_.Sending = false;
    shared_.TagSession = false;
}

SchedulerState TransmissionScheduler::State() const {
    if (!state_.Sending) return SchedulerState::Idle;
    return window_.Timer1Enabled() ? SchedulerState::Running : SchedulerState::Halted;
}

void TransmissionScheduler::buildTelegram() {
    switch (state_.TlgType) {
        case 1:
            builders_.BuildDateHour();
            break;
        case 2:
            builders_.BuildCode11();
            break;
        case 3:
            builders_.BuildWeight();
            break;
        case 4:
            builders_.BuildAsciiChars();
            break;
        case 5:
            shared_.TlgToSend.clear();
            builders_.BuildRQZPoll();
            break;
        case 6:
            shared_.TlgToSend.clear();
            builders_.PollNextStationAscii();
            break;
        case 7:
            shared_.TlgToSend.clear();
            builders_.PollNextStationRtu();
            break;
        default:  // 0 (requests, tag reader) and unknown types send TlgToSend as it is
            break;
    }
}

void TransmissionScheduler::Timer1Timer() {
    if (!state_.Sending) return;
    window_.SetTimer1Enabled(false);
    window_.SetTagLampsSilver();
    buildTelegram();
    if (shared_.TlgToSend.empty()) return;  // Halted until the next start or Stop
    if (window_.Return485Checked()) {
        shared_.EchoTlg = shared_.TlgToSend;
        shared_.EchoPending = true;
    }
    const char port = window_.SelectedPort();
    window_.SendString(port, shared_.TlgToSend);
    if (shared_.TagSession) {
        window_.ToggleTagLed();
        window_.SetTimer1Enabled(true);
        return;
    }
    echoSent(port, shared_.TlgToSend);
    window_.SetTimer1Enabled(true);
}

// Sent telegrams are echoed byte by byte in the colours in force, with no time stamp.
void TransmissionScheduler::echoSent(char port, const std::string& telegram) {
    if (state_.SkipLine) {
        view_.WriteString(ViewHeader(port, Direction::Sent));
        if (state_.Capturing) capture_.write(CaptureHeader(port, Direction::Sent));
    }
    const DisplayMode mode{state_.HexMode, state_.CtrlMode};
    for (const char c : telegram) {
        const auto byte = static_cast<unsigned char>(c);
        state_.CurrentByte = byte;
        const std::string_view rendered = RenderByte(byte, mode);
        if (ShownAsItself(byte, mode)) {
            view_.WriteChar(c);
        } else {
            view_.WriteString(rendered);
        }
        if (state_.Capturing) capture_.write(rendered);
    }
}

}  // namespace varelo
