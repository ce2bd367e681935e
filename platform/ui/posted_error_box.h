#pragma once

#include "platform/ui/handler_guard.h"
#include "platform/ui/modal_boxes.h"

#include <QObject>

#include <optional>
#include <string>
#include <utility>

namespace varelo {

// The standard error box for a run-time error raised inside a timer's tick (a
// port's polling tick above all). A box shown inside the tick would hold that tick
// until it closes, and with it everything its timer delivers; posted, the box is
// shown from the event loop once the tick has returned, and the timer goes on
// firing while it is open. One box at a time: an error raised while one is waiting
// or open is not shown again; the next one after it closes is.
class PostedErrorBox {
public:
    explicit PostedErrorBox(ModalBoxes& boxes) : boxes_(boxes) {}
    PostedErrorBox(const PostedErrorBox&) = delete;
    PostedErrorBox& operator=(const PostedErrorBox&) = delete;

    void post(const std::string& text);
    bool waitingOrOpen() const { return waiting_.has_value() || open_; }

private:
    void showWaiting();

    ModalBoxes& boxes_;
    QObject context_;  // a posted showing goes with it when the window does
    std::optional<std::string> waiting_;
    bool open_ = false;
};

// The guard of a tick's handler: as runGuarded, with the box posted.
template <typename Handler>
bool runGuarded(PostedErrorBox& box, Handler&& handler) noexcept {
    return runReporting([&box](const std::string& text) { box.post(text); }, std::forward<Handler>(handler));
}

}  // namespace varelo
