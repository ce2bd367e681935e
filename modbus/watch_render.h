#pragma once

#include <string>

#include "modbus/modbus_watch.h"
#include "modbus/register_values.h"

namespace varelo {

// How register data is shown: with `show` off only counted, with it on as
// values of `type` (wider types in `order`).
struct ValueOptions {
    bool show = false;
    RegisterType type = RegisterType::U16;
    WordOrder order = WordOrder::ABCD;
};

// One entry as a line of text, without the bytes or the time (the trace shows
// those beside it): e.g.
//   "answer st 17 read holding registers (3): 3 registers 107=555 108=0 109=100, CRC ok, 12.345 ms"
std::string DescribeEntry(const WatchEntry& entry, const ValueOptions& values);

// One entry as one JSON object, appended to `out`: its line, stamps (as given to
// the watch) and bytes, then what the frame holds. Without `withTelegram` only
// the latter, for a caller that writes the telegram's own fields itself.
void AppendEntryJson(std::string& out, const WatchEntry& entry, const ValueOptions& values, bool withTelegram = true);

// "request", "answer", "exception", "orphan", "invalid", "timeout".
const char* EntryKindName(EntryKind kind);

}  // namespace varelo
