#include "trace/run_outputs.h"

#include "trace/trace_analysers.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace varelo {

FramingRule FramingRuleFor(const TraceOptions& options, const LineFormat& format) {
    FramingRule rule;
    const double silence = options.gapMilliseconds ? *options.gapMilliseconds * 1e6
                                                   : options.gapCharacters * CharacterNanoseconds(format);
    rule.silence = static_cast<KernelStamp>(std::llround(silence));
    rule.delimiter = options.delimiter;
    rule.maxBytes = options.maxBytes;
    return rule;
}

RunOutputs::RunOutputs(const TraceOptions& options, TraceView view, const std::vector<LineFormat>& formats)
    : options_(options), view_(std::move(view)) {
    std::vector<FramingRule> rules;
    for (const LineFormat& format : formats) rules.push_back(FramingRuleFor(options, format));
    pipeline_ = std::make_unique<TracePipeline>(std::move(rules));
    for (auto& analyser : MakeAnalysers(options)) pipeline_->addAnalyser(std::move(analyser));
}

std::optional<std::string> RunOutputs::open(const RecordHeader* recordHeader, std::function<void()> outputFailed) {
    for (const auto& analyser : pipeline_->analysers()) {
        for (std::string& name : analyser->fieldNames()) view_.fieldNames.push_back(std::move(name));
    }
    if (!options_.outFile.empty()) {
        const int fd = ::open(options_.outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return "cannot write " + options_.outFile + ": " + std::strerror(errno);
        fileSink_ = std::make_unique<TextSink>(fd, options_.outFile, true, outputFailed);
    }
    if (recordHeader) {
        record_ = std::make_unique<RecordWriter>();
        if (auto error = record_->open(options_.recordFile, *recordHeader)) {
            return "cannot write " + options_.recordFile + ": " + *error;
        }
    }
    screenSink_ = std::make_unique<TextSink>(STDOUT_FILENO, "standard output", false, outputFailed);
    formatted_ = std::make_unique<FormattedOutput>(options_.format, view_);
    formatted_->addSink(*screenSink_, options_.colour && ::isatty(STDOUT_FILENO));
    if (fileSink_) formatted_->addSink(*fileSink_, false);
    if (options_.modbus.on) {
        modbus_ = std::make_unique<ModbusStage>(options_.modbus, std::vector<TraceOutput*>{formatted_.get()},
                                                options_.format == OutputFormat::Screen,
                                                options_.format == OutputFormat::Json);
        pipeline_->addOutput(modbus_.get());
    } else {
        pipeline_->addOutput(formatted_.get());
    }
    return std::nullopt;
}

std::optional<std::string> RunOutputs::failure() const {
    if (record_ && record_->failed()) return "cannot write " + options_.recordFile + ": " + record_->failure();
    for (const TextSink* sink : {fileSink_.get(), screenSink_.get()}) {
        if (sink && sink->failed()) return "cannot write " + sink->name() + ": " + sink->failure().value_or("");
    }
    return std::nullopt;
}

void RunOutputs::finish() {
    if (finished_) return;
    finished_ = true;
    pipeline_->finish();
    if (modbus_) modbusSummary_ = modbusStatistics();
    if (fileSink_) fileSink_->close();
    if (screenSink_) screenSink_->close();
    if (record_) record_->close();
}

std::string RunOutputs::summary(double seconds, const std::vector<std::string>& paths) const {
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.3f s", seconds);
    std::string text = "varelo-trace: ran " + std::string(duration) + "\n";
    for (std::size_t i = 0; i < view_.lineCount; ++i) {
        const LineStats& s = pipeline_->stats().lines[i];
        std::string name = view_.names[i];
        if (i < paths.size() && paths[i] != name) name += " (" + paths[i] + ")";
        text += "  " + name + ": " + std::to_string(s.telegrams) + " telegrams, " + std::to_string(s.bytes) +
                " bytes, longest gap " + (s.telegrams > 1 ? MillisecondsText(s.longestGap) : std::string("none")) +
                ", largest telegram " + std::to_string(s.largestTelegram) + " bytes, lost " + std::to_string(s.lost) +
                ", back " + std::to_string(s.back) + "\n";
    }
    const std::vector<FormattedOutput::SinkCounts> counts =
        formatted_ ? formatted_->counts() : std::vector<FormattedOutput::SinkCounts>{};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i].bytesNotShown == 0) continue;
        text += "  not " + (i == 0 ? std::string("shown on the screen") : "written to " + options_.outFile) + ": " +
                std::to_string(counts[i].bytesNotShown) + " bytes in " + std::to_string(counts[i].telegramsNotShown) +
                " telegrams (the output could not keep up" + (record_ ? "; the record has them all)\n" : ")\n");
    }
    for (const auto& analyser : pipeline_->analysers()) {
        for (const std::string& line : analyser->summary()) text += "  " + line + "\n";
    }
    text += modbusSummary_;
    return text;
}

void RunOutputs::sent(int line, KernelStamp start, KernelStamp end, const std::string& bytes) {
    if (modbus_) {
        modbus_->sent(line, start, end, bytes);
        return;
    }
    Telegram t;
    t.line = line;
    t.start = start;
    t.end = end;
    t.bytes = bytes;
    t.sent = true;
    if (formatted_) formatted_->telegram(t);
}

std::string RunOutputs::modbusStatistics() {
    if (!modbus_) return {};
    const WatchStatistics& statistics = modbus_->statistics();
    if (options_.format == OutputFormat::Json) {
        const std::string json = "{\"modbus_statistics\":" + statistics.json() + "}\n";
        for (TextSink* sink : {screenSink_.get(), fileSink_.get()})
            if (sink) sink->put(json);
    }
    return statistics.text();
}

}  // namespace varelo
