#include "app/monitor/receive_path.h"

#include "app/monitor/capture_file.h"
#include "app/monitor/echo_removal.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/monitor_view.h"
#include "app/monitor/telegram_headers.h"
#include "app/monitor/time_stamp.h"
#include "platform/clock.h"
#include "util/run_time_errors.h"
#include "util/shared_state.h"

#include <exception>

namespace varelo {

ReceivePath::ReceivePath(MonitorState& state, SharedState& shared, MonitorView& view, CaptureFile& capture,
                         const WallClock& clock, ReceiveWindow& window)
    : state_(state), shared_(shared), view_(view), capture_(capture), clock_(clock), window_(window) {}

void ReceivePath::Port1ReceiveData(std::string_view data) {
    receive('1', data);
}

void ReceivePath::Port2ReceiveData(std::string_view data) {
    receive('2', data);
}

void ReceivePath::receive(char port, std::string_view data) {
    const std::string stamp = TimeStampText(clock_.now());
    window_.StopTimerModBus();
    shared_.RxPort.assign(1, port);
    // The driver reuses its buffer at its next tick.
    block_.assign(data);
    if (port == '1' && window_.Return485Checked()) RemoveEcho(block_, shared_);
    if (shared_.TagSession) {
        window_.ProcessTagResponse(block_);
        return;
    }
    // An echo removed whole leaves nothing on the screen.
    if (!block_.empty()) ShowReceived(port, block_, stamp);
}

void ReceivePath::ShowReceived(char port, std::string_view block, std::string_view stamp) {
    if (port == '1') {
        view_.SetTextColor(colours::Red);
        view_.SetBackColor(colours::Aqua);
    } else {
        view_.SetTextColor(colours::Black);
        view_.SetBackColor(colours::Lime);
    }
    // A failed capture write ends the receipt, but only once the block is on the
    // screen: a capture that fails must not take the traffic off the screen too.
    std::exception_ptr captureFailure;
    if (state_.SkipLine) {
        view_.WriteString(ViewHeader(port, Direction::Received));
        if (state_.ShowTime) view_.WriteString(stamp);
        if (state_.Capturing) {
            try {
                capture_.write(CaptureHeader(port, Direction::Received));
                if (state_.ShowTime) capture_.write(stamp);
            } catch (const IoError&) {
                captureFailure = std::current_exception();
            }
        }
    }
    RenderBlockInto(rendered_, block, {state_.HexMode, state_.CtrlMode});
    state_.RxCount += static_cast<std::int64_t>(block.size());
    view_.WriteString(rendered_);
    if (captureFailure) std::rethrow_exception(captureFailure);
    if (state_.Capturing) capture_.write(rendered_);
    window_.SetEditLng(std::to_string(state_.RxCount));
    view_.SetTextColor(colours::Black);
    view_.SetBackColor(colours::White);
}

}  // namespace varelo
