#pragma once

#include "trace/telegram_framer.h"
#include "trace/trace_stage.h"
#include "trace/trace_stats.h"

#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace varelo {

// The per-telegram chain of a run: each line's framer, then the telegrams and line
// events of both lines put in the order in which they began, then the analysers,
// then the outputs. Live and replayed runs feed it the same stamped blocks, so
// both give the same result.
class TracePipeline {
  public:
    explicit TracePipeline(std::vector<FramingRule> rulePerLine);

    void addAnalyser(std::unique_ptr<TelegramAnalyser> analyser);
    void addOutput(TraceOutput* output);  // not owned
    const std::vector<std::unique_ptr<TelegramAnalyser>>& analysers() const { return analysers_; }

    void block(int line, KernelStamp stamp, std::span<const std::uint8_t> bytes);
    // Time has come to `now` on every line.
    void idle(KernelStamp now);
    void lineEvent(LineEvent event);
    // Ends every open telegram and passes everything on.
    void finish();

    // The earliest moment at which an open telegram ends if nothing comes.
    std::optional<KernelStamp> nextDeadline() const;
    const TraceStats& stats() const { return stats_; }
    // Passes on no telegram after the n-th.
    void setTelegramLimit(std::optional<std::uint64_t> limit) { limit_ = limit; }
    bool limitReached() const { return limit_ && stats_.telegrams() >= *limit_; }

  private:
    using Item = std::variant<Telegram, LineEvent>;
    void hold(Item item);
    void release();
    void pass(Telegram& telegram);
    void pass(const LineEvent& event);

    std::vector<TelegramFramer> framers_;
    std::vector<Item> held_;  // by start, waiting for earlier telegrams still open
    std::vector<std::unique_ptr<TelegramAnalyser>> analysers_;
    std::vector<TraceOutput*> outputs_;
    std::array<std::optional<KernelStamp>, 2> lastEnd_;
    std::optional<KernelStamp> lastEndAny_;
    TraceStats stats_;
    std::optional<std::uint64_t> limit_;
};

}  // namespace varelo
