#pragma once

#include "modbus/modbus_watch.h"
#include "modbus/watch_render.h"
#include "trace/modbus_settings.h"
#include "trace/trace_stage.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace varelo {


// Between the pipeline and the run's outputs with --modbus: the line's
// telegrams go in, its MODBUS frames come out, each as a telegram of its own
// with what the watch made of it (a line of text, and a "modbus" object for
// JSON), in the order they began, once decided. An echo removed shows in its
// request's mark; a time-out is a telegram without bytes.
class ModbusStage final : public TraceOutput {
  public:
    // `text`: the outputs show the line of text; `json`: they write the JSON object.
    ModbusStage(const ModbusTraceOptions& options, std::vector<TraceOutput*> outputs, bool text, bool json);

    void telegram(const Telegram& telegram) override;
    void lineEvent(const LineEvent& event) override;
    void finish() override;

    // A telegram this program wrote on `line`.
    void sent(int line, KernelStamp start, KernelStamp end, const std::string& bytes);
    // Time has come to `now`: time-outs, echo windows and waiting pieces.
    void idle(KernelStamp now) override;
    std::optional<KernelStamp> deadline() const override;

    const WatchStatistics& statistics() const { return watch_.statistics(); }

  private:
    void passDecided();

    ModbusTraceOptions options_;
    std::vector<TraceOutput*> outputs_;
    bool text_, json_;
    ModbusWatch watch_;
    std::vector<WatchEntry> entries_;
    std::array<std::optional<KernelStamp>, 2> lastEnd_;
};

}  // namespace varelo
