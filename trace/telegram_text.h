#pragma once

#include "trace/telegram.h"
#include "trace/trace_view.h"

#include <string>

namespace varelo {

// The bytes of a telegram as the screen shows them, in UTF-8: by the monitor's own
// byte rendering (text, ctrl, hex), or as a dump of 16 bytes a row. No line end.
std::string TelegramBodyText(std::string_view bytes, RenderMode mode);

// A telegram for the screen or a text file: a header (time, line, direction mark,
// byte count, gaps, marks), the bytes under it, the analysers' lines; ends with a
// line end. Coloured by line when `colour`.
std::string TelegramScreenText(const Telegram& telegram, const TraceView& view, bool colour);
std::string LineEventScreenText(const LineEvent& event, const TraceView& view, bool colour);

// "CTS DSR" for the modem lines that are on; "none" when none is.
std::string ModemLinesText(std::uint8_t lines);

}  // namespace varelo
