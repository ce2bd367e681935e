#pragma once

#include "trace/formatted_output.h"
#include "trace/modbus_stage.h"
#include "trace/record_file.h"
#include "trace/trace_pipeline.h"

#include <memory>
#include <optional>
#include <string>

namespace varelo {

// Everything a run writes to: the screen, the --out file, the record; and the
// pipeline that feeds the first two. Made once the lines' names and settings are known.
class RunOutputs {
  public:
    RunOutputs(const TraceOptions& options, TraceView view, const std::vector<LineFormat>& formats);

    // Opens the files; nothing, or a one-line message naming the file and the reason.
    // `outputFailed` is called, from an output's own thread, when writing to it fails.
    std::optional<std::string> open(const RecordHeader* recordHeader, std::function<void()> outputFailed = {});

    TracePipeline& pipeline() { return *pipeline_; }
    RecordWriter* record() { return record_ ? record_.get() : nullptr; }
    const TraceView& view() const { return view_; }

    // A message naming the first output that has failed, if one has.
    std::optional<std::string> failure() const;
    // Ends every telegram, writes out all that waits and closes the files.
    void finish();
    // The run's summary for standard error.
    std::string summary(double seconds, const std::vector<std::string>& paths) const;

    // A telegram this program wrote (--send): shown as sent, and with --modbus read as a request.
    void sent(int line, KernelStamp start, KernelStamp end, const std::string& bytes);
    // With --modbus, the statistics so far: as text lines for standard error, and
    // with --json also as one JSON object on the outputs.
    std::string modbusStatistics();

  private:
    const TraceOptions& options_;
    TraceView view_;
    std::unique_ptr<TracePipeline> pipeline_;
    std::unique_ptr<TextSink> screenSink_, fileSink_;
    std::unique_ptr<FormattedOutput> formatted_;
    std::unique_ptr<ModbusStage> modbus_;
    std::unique_ptr<RecordWriter> record_;
    bool finished_ = false;
    std::string modbusSummary_;  // the statistics at the end of the run
};

// How a line's telegrams are cut, from the options and the line's own settings.
FramingRule FramingRuleFor(const TraceOptions& options, const LineFormat& format);

}  // namespace varelo
