#pragma once

#include "trace/telegram.h"

#include <optional>
#include <string>
#include <vector>

namespace varelo {

// A step that looks at each telegram after framing and before the outputs, and may
// add what it found to the telegram's notes; at the end it may add lines to the
// run's summary. A protocol decoder is one.
class TelegramAnalyser {
  public:
    virtual ~TelegramAnalyser() = default;
    virtual void analyse(Telegram& telegram) = 0;
    virtual void lineEvent(const LineEvent& event) { (void)event; }
    // Names of the fields it adds to every telegram, for outputs with fixed columns.
    virtual std::vector<std::string> fieldNames() const { return {}; }
    virtual std::vector<std::string> summary() const { return {}; }
};

// Where the telegrams and line events go, in the order in which they happened.
class TraceOutput {
  public:
    virtual ~TraceOutput() = default;
    virtual void telegram(const Telegram& telegram) = 0;
    virtual void lineEvent(const LineEvent& event) = 0;
    // The run's last words, once, after everything else.
    virtual void finish() {}
    // Time has come to `now` (an output that waits for something, as the MODBUS stage does).
    virtual void idle(KernelStamp now) { (void)now; }
    virtual std::optional<KernelStamp> deadline() const { return std::nullopt; }
};

}  // namespace varelo
