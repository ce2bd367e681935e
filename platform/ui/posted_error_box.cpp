#include "platform/ui/posted_error_box.h"

#include <QMetaObject>

namespace varelo {

void PostedErrorBox::post(const std::string& text) {
    if (waitingOrOpen()) return;
    waiting_ = text;
    QMetaObject::invokeMethod(&context_, [this] { showWaiting(); }, Qt::QueuedConnection);
}

void PostedErrorBox::showWaiting() {
    if (!waiting_) return;
    const std::string text = std::move(*waiting_);
    waiting_.reset();
    open_ = true;
    struct Closed {
        bool& open;
        ~Closed() { open = false; }
    } closed{open_};
    boxes_.showRunTimeError(text);
}

}  // namespace varelo
