#pragma once

#include "trace/telegram.h"
#include "trace/trace_view.h"

#include <string>

namespace varelo {

// The outputs for scripts: one JSON object a line, or CSV rows under one header row.
// Times in microseconds since the epoch, gaps in microseconds, bytes in hexadecimal;
// each ends with a line end.
std::string TelegramJson(const Telegram& telegram, const TraceView& view);
std::string LineEventJson(const LineEvent& event, const TraceView& view);

std::string CsvHeader(const TraceView& view);
std::string TelegramCsv(const Telegram& telegram, const TraceView& view);
std::string LineEventCsv(const LineEvent& event, const TraceView& view);

std::string JsonString(std::string_view text);
std::string HexText(std::string_view bytes);

}  // namespace varelo
