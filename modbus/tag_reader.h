#pragma once

#include "util/colour.h"
#include "util/shared_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varelo {

// What the windows have to show after a step of the tag session. Fields left
// empty change nothing. `initialize` never comes with LED changes, because it
// puts all four LEDs to silver anyway.
struct TagOutcome {
    bool enableRetryTimer = false;         // enable TimerModBus: a response is incomplete
    std::optional<Colour> ledRojo;         // red: a response failed the CRC check
    std::optional<Colour> ledAmarillo;     // yellow: a good response was taken in
    std::optional<Colour> ledVerde;        // green: blocks are arriving correctly
    std::optional<std::string> labelPaso;  // new text of LabelPaso
    bool initialize = false;               // "Inicializar": clear the map memo, all four LEDs silver
    std::optional<std::string> mapToShow;  // a pass is complete: ShowTagMap with this image
};

// The tag reader's side of the MODBUS-RTU conversation: reads the reader's 128
// holding registers in four blocks of 32 (function 3) and assembles them into a
// 256-byte image, one register as its low byte then its high byte. The scheduler
// sends whatever request is in TlgToSend at every tick; this class only replaces
// that request and takes in what comes back, so a block without a good answer is
// simply asked for again.
class TagReader {
  public:
    static constexpr std::int32_t kBlockRegisters = 32;
    static constexpr std::int32_t kLastBlockAddress = 96;

    explicit TagReader(SharedState& state) : state_(state) {}

    // Before the scheduler starts: the reader's station and an empty pass.
    void prepareSession(std::int32_t station);
    // Right after the scheduler started: the session runs and block 0 is asked for.
    void beginSession();

    // Every block received while the session runs, in whatever pieces it arrives
    // (an empty block too). The caller has disabled TimerModBus before.
    TagOutcome ProcessTagResponse(const std::string& bytes);

    // TimerModBus: no byte for a while in the middle of a response; ask again for
    // the block still expected, keeping what was received. The caller disables the timer.
    void retryTick();

    // "Inicializar": restart the pass at block 0 with an empty map. The count of
    // consecutive CRC errors and the session itself stay as they are.
    TagOutcome initialize();

  private:
    void requestExpectedBlock();

    SharedState& state_;
};

// The station typed at the start of a session: cleaned like every number typed
// into an input box, then kept within the MODBUS slave range 1 to 247. Throws
// ConversionError when the cleaned text is not an integer.
std::int32_t TagStationFromAnswer(const std::string& answer);

// The map window's lines for a tag image: the header "-W-|H|0123456789ABCDEF",
// then one line per 16 bytes ("000|0|" to "120|F|", register number and row)
// followed by the image's bytes unchanged. A shorter image gives shorter rows.
std::vector<std::string> TagMapLines(const std::string& image);

}  // namespace varelo
