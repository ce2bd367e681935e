#include "trace/formatted_output.h"

#include "trace/script_text.h"
#include "trace/telegram_text.h"

namespace varelo {

FormattedOutput::FormattedOutput(TextSink& sink, OutputFormat format, const TraceView& view, bool colour)
    : sink_(sink), format_(format), view_(view), colour_(colour && format == OutputFormat::Screen) {}

void FormattedOutput::telegram(const Telegram& t) {
    switch (format_) {
        case OutputFormat::Screen:
            put(TelegramScreenText(t, view_, colour_), t.bytes.size());
            break;
        case OutputFormat::Json:
            put(TelegramJson(t, view_), t.bytes.size());
            break;
        case OutputFormat::Csv:
            put(TelegramCsv(t, view_), t.bytes.size());
            break;
    }
}

void FormattedOutput::lineEvent(const LineEvent& e) {
    switch (format_) {
        case OutputFormat::Screen:
            put(LineEventScreenText(e, view_, colour_), 0);
            break;
        case OutputFormat::Json:
            put(LineEventJson(e, view_), 0);
            break;
        case OutputFormat::Csv:
            put(LineEventCsv(e, view_), 0);
            break;
    }
}

void FormattedOutput::finish() {
    if (format_ == OutputFormat::Csv && !headerDone_) put({}, 0);  // a header even for an empty run
    if (bytesNotShown_ > reportedBytes_) {
        reportedBytes_ = bytesNotShown_;
        sink_.put(notShownText());
    }
}

void FormattedOutput::put(std::string text, std::uint64_t telegramBytes) {
    if (format_ == OutputFormat::Csv && !headerDone_) {
        headerDone_ = sink_.put(CsvHeader(view_));
    }
    if (bytesNotShown_ > reportedBytes_ && sink_.put(notShownText())) reportedBytes_ = bytesNotShown_;
    if (text.empty()) return;
    if (!sink_.put(std::move(text))) {
        bytesNotShown_ += telegramBytes;
        if (telegramBytes > 0) ++telegramsNotShown_;
    }
}

std::string FormattedOutput::notShownText() const {
    const std::string count = std::to_string(bytesNotShown_);
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
