#pragma once

#include "platform/ui/modal_boxes.h"

#include <exception>
#include <utility>

namespace varelo {

// Every event handler runs inside this guard: a run-time error (a conversion
// that fails, a capture file that cannot be written) ends the handler and is
// shown in the standard error box. Nothing propagates into the event loop.
// Returns false when the handler was ended by an error.
template <typename Handler>
bool runGuarded(ModalBoxes& boxes, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& e) {
        try {
            boxes.showRunTimeError(e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            boxes.showRunTimeError("Unexpected error");
        } catch (...) {
        }
    }
    return false;
}

}  // namespace varelo
