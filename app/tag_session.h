#pragma once

#include "modbus/tag_reader.h"

#include <cstdint>
#include <functional>
#include <string>

namespace varelo {

class FormTimer;
class ModalBoxes;
class TFormParvolin;
struct SharedState;

// A tag reading session as the main window runs it: the reader's side of the
// conversation over the shared state, the tag data window that shows its
// progress, and the retry timer (TimerModBus) that asks again for a response
// that stopped half way. The scheduler sends whatever request the reader leaves
// in TlgToSend; the receive path hands every block here while the session runs.
class TagSession {
  public:
    // Takes over the retry timer's tick; errors there go to the standard error box.
    TagSession(SharedState& shared, ModalBoxes& boxes, FormTimer& retryTimer);
    TagSession(const TagSession&) = delete;
    TagSession& operator=(const TagSession&) = delete;

    // The tag data window, once it exists (null: none). Its "Inicializar"
    // restarts the reader's pass; its "&OK" runs `stop` (the Send menu's Stop)
    // before it closes.
    void attachWindow(TFormParvolin* window, std::function<void()> stop);

    // The session's own steps of the start command, in this order around the
    // scheduler's start: the reader's station and an empty pass; "Inicializar";
    // then, once the scheduler runs, the session itself with block 0 asked for;
    // and last the window, shown without holding up the main window.
    void prepare(std::int32_t station);
    void initialize();
    void begin();
    void showWindow();

    // A block received while the session runs (the receive path has stopped the
    // retry timer): the reader takes it in and the window shows the result.
    void ProcessTagResponse(const std::string& block);
    // No byte for a while in the middle of a response: the block still expected
    // is asked for again.
    void TimerModBusTimer();

    // The scheduler's steps: at every tick the step lamps go back to silver, and
    // after each request sent during a session the activity lamp blinks.
    void SetLampsSilver();
    void ToggleTagLed();

  private:
    ModalBoxes& boxes_;
    FormTimer& retryTimer_;
    TagReader reader_;
    TFormParvolin* window_ = nullptr;
};

}  // namespace varelo
