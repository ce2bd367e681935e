#include "trace/modbus_stage.h"

namespace varelo {
namespace {

constexpr KernelStamp kNanosecondsPerMicrosecond = 1000;

TimedTelegram Timed(const std::string& bytes, KernelStamp start, KernelStamp end) {
    return {bytes, start / kNanosecondsPerMicrosecond, end / kNanosecondsPerMicrosecond};
}

}  // namespace

ModbusStage::ModbusStage(const ModbusTraceOptions& options, std::vector<TraceOutput*> outputs, bool text, bool json)
    : options_(options),
      outputs_(std::move(outputs)),
      text_(text),
      json_(json),
      watch_(WatchOptions{options.framing, options.timeoutMs * 1000}) {}

void ModbusStage::telegram(const Telegram& telegram) {
    watch_.receive(telegram.line, Timed(telegram.bytes, telegram.start, telegram.end));
    passDecided();
}

void ModbusStage::sent(int line, KernelStamp start, KernelStamp end, const std::string& bytes) {
    watch_.sent(line, Timed(bytes, start, end));
    passDecided();
}

void ModbusStage::lineEvent(const LineEvent& event) {
    watch_.expire(event.stamp / kNanosecondsPerMicrosecond);
    passDecided();
    for (TraceOutput* output : outputs_) output->lineEvent(event);
}

void ModbusStage::idle(KernelStamp now) {
    watch_.expire(now / kNanosecondsPerMicrosecond);
    passDecided();
}

std::optional<KernelStamp> ModbusStage::deadline() const {
    const std::optional<std::int64_t> at = watch_.deadline();
    if (!at) return std::nullopt;
    return *at * kNanosecondsPerMicrosecond;
}

void ModbusStage::finish() {
    watch_.finish();
    passDecided();
    for (TraceOutput* output : outputs_) output->finish();
}

void ModbusStage::passDecided() {
    watch_.take(entries_);
    for (WatchEntry& e : entries_) {
        Telegram t;
        t.line = e.line;
        t.start = e.startUs * kNanosecondsPerMicrosecond;
        t.end = e.endUs * kNanosecondsPerMicrosecond;
        t.bytes = e.bytes;
        t.sent = e.sent;
        if (!t.bytes.empty()) {
            // Gaps between frames, as the pipeline gives them between telegrams.
            const auto line = static_cast<std::size_t>(t.line);
            if (lastEnd_[line]) t.gapSameLine = t.start - *lastEnd_[line];
            std::optional<KernelStamp> any;
            for (const auto& end : lastEnd_)
                if (end && (!any || *end > *any)) any = end;
            if (any) t.gapAnyLine = t.start - *any;
            lastEnd_[line] = t.end;
        }
        // A time-out has nothing else to show: its line is always made.
        if (text_ || t.bytes.empty()) t.notes.text.push_back(DescribeEntry(e, options_.values));
        if (json_) {
            std::string json;
            AppendEntryJson(json, e, options_.values, false);
            t.notes.fields.emplace_back("modbus", std::move(json));
        }
        for (TraceOutput* output : outputs_) output->telegram(t);
    }
}

}  // namespace varelo
