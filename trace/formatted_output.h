#pragma once

#include "trace/text_sink.h"
#include "trace/trace_stage.h"
#include "trace/trace_view.h"

#include <cstdint>

namespace varelo {

// The trace written to one sink in the run's format: telegrams with their header
// (coloured or not), JSON objects or CSV rows. What the sink could not take is
// counted, and said in the output itself as soon as it takes text again.
class FormattedOutput final : public TraceOutput {
  public:
    FormattedOutput(TextSink& sink, OutputFormat format, const TraceView& view, bool colour);

    void telegram(const Telegram& telegram) override;
    void lineEvent(const LineEvent& event) override;
    void finish() override;

    std::uint64_t bytesNotShown() const { return bytesNotShown_; }
    std::uint64_t telegramsNotShown() const { return telegramsNotShown_; }

  private:
    void put(std::string text, std::uint64_t telegramBytes);
    std::string notShownText() const;

    TextSink& sink_;
    OutputFormat format_;
    const TraceView& view_;
    bool colour_;
    bool headerDone_ = false;
    std::uint64_t bytesNotShown_ = 0;
    std::uint64_t telegramsNotShown_ = 0;
    std::uint64_t reportedBytes_ = 0;
};

}  // namespace varelo
