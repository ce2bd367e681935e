#pragma once

#include "trace/telegram.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>

namespace varelo {

// How a line's bytes are cut into telegrams.
struct FramingRule {
    // A telegram ends when no block has come for this long; 0 makes every block a
    // telegram of its own.
    KernelStamp silence = 0;
    std::string delimiter;  // ends a telegram right after it, when not empty
    std::size_t maxBytes = 4096;
};

// Cuts one line's stamped blocks into telegrams. It knows time only by the stamps
// it is given, so a recorded run cut again gives the same telegrams as it did live.
class TelegramFramer {
  public:
    using Sink = std::function<void(Telegram&&)>;
    TelegramFramer(int line, FramingRule rule, Sink sink);

    void block(KernelStamp stamp, std::span<const std::uint8_t> bytes);
    // Time has come to `now` with nothing new: ends the telegram if its silence is long enough.
    void idle(KernelStamp now);
    // Ends whatever telegram is open (the line was lost, the run ends).
    void flush();

    bool open() const { return !current_.bytes.empty(); }
    KernelStamp openSince() const { return current_.start; }
    // When the open telegram ends, if nothing comes before.
    KernelStamp deadline() const { return current_.end + rule_.silence; }
    const FramingRule& rule() const { return rule_; }

  private:
    void append(KernelStamp stamp, const std::uint8_t* bytes, std::size_t count);
    void finish(bool cut);
    bool endsWithDelimiter() const;

    int line_;
    FramingRule rule_;
    Sink sink_;
    Telegram current_;
    bool nextContinues_ = false;
};

}  // namespace varelo
