#include "app/tag_session.h"

#include "modbus/ui/tag_data_window.h"
#include "platform/form_timer.h"
#include "platform/ui/handler_guard.h"
#include "util/colour.h"

#include <utility>

namespace varelo {

TagSession::TagSession(SharedState& shared, ModalBoxes& boxes, FormTimer& retryTimer)
    : boxes_(boxes), retryTimer_(retryTimer), reader_(shared) {
    retryTimer_.setOnTimer([this] { runGuarded(boxes_, [this] { TimerModBusTimer(); }); });
}

void TagSession::attachWindow(TFormParvolin* window, std::function<void()> stop) {
    window_ = window;
    if (!window_) return;
    window_->SetOnInicializar([this] {
        TagOutcome outcome;
        runGuarded(boxes_, [&] { outcome = reader_.initialize(); });
        return outcome;
    });
    window_->SetOnStop([this, stop = std::move(stop)] {
        if (stop) runGuarded(boxes_, stop);
    });
}

void TagSession::prepare(std::int32_t station) {
    reader_.prepareSession(station);
}

void TagSession::initialize() {
    if (window_)
        window_->BF1Click();
    else
        reader_.initialize();
}

void TagSession::begin() {
    reader_.beginSession();
}

// A window left open by an earlier session comes to the front again.
void TagSession::showWindow() {
    if (!window_) return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void TagSession::ProcessTagResponse(const std::string& block) {
    const TagOutcome outcome = reader_.ProcessTagResponse(block);
    if (window_) window_->applyOutcome(outcome);
    if (outcome.enableRetryTimer) retryTimer_.setEnabled(true);
}

void TagSession::TimerModBusTimer() {
    reader_.retryTick();
    retryTimer_.setEnabled(false);
}

void TagSession::SetLampsSilver() {
    if (!window_) return;
    window_->SetLed(TagLed::Rojo, colours::Silver);
    window_->SetLed(TagLed::Amarillo, colours::Silver);
}

void TagSession::ToggleTagLed() {
    if (window_) window_->ToggleTagLed();
}

}  // namespace varelo
