#pragma once

#include "platform/ui/modal_boxes.h"

#include <exception>
#include <string>
#include <utility>

namespace varelo {

// Runs the handler; a run-time error it raises (a conversion that fails, a capture
// file that cannot be written) ends it and its text goes to `report`. Nothing
// propagates into the event loop. Returns false when the handler was ended by an error.
template <typename Report, typename Handler>
bool runReporting(Report&& report, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& e) {
        try {
            report(std::string(e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            report(std::string("Unexpected error"));
        } catch (...) {
        }
    }
    return false;
}

// Every event handler runs inside this guard: a run-time error ends the handler and
// is shown in the standard error box.
template <typename Handler>
bool runGuarded(ModalBoxes& boxes, Handler&& handler) noexcept {
    return runReporting([&boxes](const std::string& text) { boxes.showRunTimeError(text); },
                        std::forward<Handler>(handler));
}

}  // namespace varelo
