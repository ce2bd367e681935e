#include "trace/formatted_output.h"

#include "trace/script_text.h"
#include "trace/telegram_text.h"

#include <array>
#include <optional>

namespace varelo {

FormattedOutput::FormattedOutput(OutputFormat format, const TraceView& view) : format_(format), view_(view) {}

void FormattedOutput::addSink(TextSink& sink, bool colour) {
    Target target;
    target.sink = &sink;
    target.colour = colour && format_ == OutputFormat::Screen;
    targets_.push_back(target);
}

template <typename Render>
void FormattedOutput::putAll(Render render, std::uint64_t telegramBytes) {
    std::array<std::optional<std::string>, 2> text;  // plain, coloured
    std::array<std::size_t, 2> users{};
    for (const Target& target : targets_) ++users[target.colour ? 1 : 0];
    for (Target& target : targets_) {
        const std::size_t kind = target.colour ? 1 : 0;
        std::optional<std::string>& mine = text[kind];
        if (!mine) mine = render(target.colour);
        // The last sink that wants this text takes it; the others get copies.
        put(target, --users[kind] == 0 ? std::move(*mine) : *mine, telegramBytes);
    }
}

void FormattedOutput::telegram(const Telegram& t) {
    putAll(
        [&](bool colour) {
            switch (format_) {
                case OutputFormat::Json:
                    return TelegramJson(t, view_);
                case OutputFormat::Csv:
                    return TelegramCsv(t, view_);
                case OutputFormat::Screen:
                    break;
            }
            return TelegramScreenText(t, view_, colour);
        },
        t.bytes.size());
}

void FormattedOutput::lineEvent(const LineEvent& e) {
    putAll(
        [&](bool colour) {
            switch (format_) {
                case OutputFormat::Json:
                    return LineEventJson(e, view_);
                case OutputFormat::Csv:
                    return LineEventCsv(e, view_);
                case OutputFormat::Screen:
                    break;
            }
            return LineEventScreenText(e, view_, colour);
        },
        0);
}

void FormattedOutput::finish() {
    for (Target& target : targets_) {
        put(target, {}, 0);  // a CSV header even for an empty run, and the last count of what was not shown
    }
}

std::vector<FormattedOutput::SinkCounts> FormattedOutput::counts() const {
    std::vector<SinkCounts> all;
    for (const Target& target : targets_) all.push_back(target.counts);
    return all;
}

void FormattedOutput::put(Target& target, std::string text, std::uint64_t telegramBytes) {
    if (format_ == OutputFormat::Csv && !target.headerDone) target.headerDone = target.sink->put(CsvHeader(view_));
    if (target.counts.bytesNotShown > target.reportedBytes &&
        target.sink->put(notShownText(target.counts.bytesNotShown))) {
        target.reportedBytes = target.counts.bytesNotShown;
    }
    if (text.empty()) return;
    if (!target.sink->put(std::move(text))) {
        target.counts.bytesNotShown += telegramBytes;
        if (telegramBytes > 0) ++target.counts.telegramsNotShown;
    }
}

std::string FormattedOutput::notShownText(std::uint64_t bytes) const {
    const std::string count = std::to_string(bytes);
    switch (format_) {
        case OutputFormat::Json:
            return "{\"event\":\"not-shown\",\"bytes\":" + count + "}\n";
        case OutputFormat::Csv:
            return ",,,not-shown,,," + count + ",,,output too slow" + std::string(view_.fieldNames.size(), ',') + "\n";
        case OutputFormat::Screen:
            break;
    }
    return "(" + count + " bytes so far not shown: the output could not keep up; a record keeps them)\n";
}

}  // namespace varelo
