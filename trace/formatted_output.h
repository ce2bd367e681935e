#pragma once

#include "trace/text_sink.h"
#include "trace/trace_stage.h"
#include "trace/trace_view.h"

#include <cstdint>
#include <vector>

namespace varelo {

// The trace written in the run's format (telegrams with their header, coloured or
// not; JSON objects; CSV rows) to its sinks, each telegram formatted once for all
// of them. What a sink could not take is counted, and said in that sink's output
// as soon as it takes text again.
class FormattedOutput final : public TraceOutput {
  public:
    FormattedOutput(OutputFormat format, const TraceView& view);
    // Colour applies to the screen format only.
    void addSink(TextSink& sink, bool colour);

    void telegram(const Telegram& telegram) override;
    void lineEvent(const LineEvent& event) override;
    void finish() override;

    struct SinkCounts {
        std::uint64_t bytesNotShown = 0;
        std::uint64_t telegramsNotShown = 0;
    };
    // In the order the sinks were added.
    std::vector<SinkCounts> counts() const;

  private:
    struct Target {
        TextSink* sink = nullptr;
        bool colour = false;
        bool headerDone = false;
        SinkCounts counts;
        std::uint64_t reportedBytes = 0;
    };
    template <typename Render>
    void putAll(Render render, std::uint64_t telegramBytes);
    void put(Target& target, std::string text, std::uint64_t telegramBytes);
    std::string notShownText(std::uint64_t bytes) const;

    OutputFormat format_;
    const TraceView& view_;
    std::vector<Target> targets_;
};

}  // namespace varelo
