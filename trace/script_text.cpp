#include "trace/script_text.h"

#include "trace/telegram_text.h"

#include <cstdio>

namespace varelo {
namespace {

std::string Flags(const Telegram& t, std::string_view separator, bool quoted) {
    std::string flags;
    auto add = [&](const char* flag) {
        if (!flags.empty()) flags += separator;
        flags += quoted ? "\"" + std::string(flag) + "\"" : flag;
    };
    if (t.cut) add("cut");
    if (t.continued) add("continued");
    if (t.sent) add("sent");
    return flags;
}

const char* EventName(LineEvent::Kind kind) {
    switch (kind) {
        case LineEvent::Kind::Lost:
            return "lost";
        case LineEvent::Kind::Back:
            return "back";
        case LineEvent::Kind::ModemLines:
            return "modem";
        case LineEvent::Kind::ModemUnknown:
            return "modem-unknown";
    }
    return "";
}

std::string EventDetail(const LineEvent& e) {
    return e.kind == LineEvent::Kind::ModemLines ? ModemLinesText(e.modem) : e.detail;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

std::string Optional(const std::optional<KernelStamp>& gap) { return gap ? std::to_string(*gap / 1000) : ""; }

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string HexText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(bytes.size() * 2, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = digits[b >> 4];
        out[2 * i + 1] = digits[b & 0xF];
    }
    return out;
}

std::string TelegramJson(const Telegram& t, const TraceView& view) {
    std::string out = "{\"time_us\":" + std::to_string(EpochMicroseconds(t.start, view)) +
                      ",\"line\":" + std::to_string(t.line + 1) +
                      ",\"name\":" + JsonString(view.names[static_cast<std::size_t>(t.line)]);
    if (t.gapSameLine) out += ",\"gap_us\":" + std::to_string(*t.gapSameLine / 1000);
    if (t.gapAnyLine) out += ",\"gap_any_us\":" + std::to_string(*t.gapAnyLine / 1000);
    out += ",\"length\":" + std::to_string(t.bytes.size()) + ",\"bytes\":\"" + HexText(t.bytes) +
           "\",\"flags\":[" + Flags(t, ",", true) + "]";
    for (const auto& [name, value] : t.notes.fields) out += "," + JsonString(name) + ":" + value;
    return out + "}\n";
}

std::string LineEventJson(const LineEvent& e, const TraceView& view) {
    return "{\"time_us\":" + std::to_string(EpochMicroseconds(e.stamp, view)) + ",\"line\":" +
           std::to_string(e.line + 1) + ",\"name\":" + JsonString(view.names[static_cast<std::size_t>(e.line)]) +
           ",\"event\":\"" + EventName(e.kind) + "\",\"detail\":" + JsonString(EventDetail(e)) + "}\n";
}

std::string CsvHeader(const TraceView& view) {
    std::string header = "time_us,line,name,event,gap_us,gap_any_us,length,bytes,flags,detail";
    for (const std::string& name : view.fieldNames) header += "," + CsvField(name);
    return header + "\n";
}

std::string TelegramCsv(const Telegram& t, const TraceView& view) {
    std::string row = std::to_string(EpochMicroseconds(t.start, view)) + "," + std::to_string(t.line + 1) + "," +
                      CsvField(view.names[static_cast<std::size_t>(t.line)]) + ",telegram," +
                      Optional(t.gapSameLine) + "," + Optional(t.gapAnyLine) + "," + std::to_string(t.bytes.size()) +
                      "," + HexText(t.bytes) + "," + Flags(t, "|", false) + ",";
    for (const std::string& name : view.fieldNames) {
        row += ",";
        for (const auto& [field, value] : t.notes.fields) {
            if (field == name) row += CsvField(value);
        }
    }
    return row + "\n";
}

std::string LineEventCsv(const LineEvent& e, const TraceView& view) {
    return std::to_string(EpochMicroseconds(e.stamp, view)) + "," + std::to_string(e.line + 1) + "," +
           CsvField(view.names[static_cast<std::size_t>(e.line)]) + "," + EventName(e.kind) + ",,,,,," +
           CsvField(EventDetail(e)) + std::string(view.fieldNames.size(), ',') + "\n";
}

}  // namespace varelo
