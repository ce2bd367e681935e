#include "trace/telegram_text.h"

#include "app/monitor/byte_rendering.h"
#include "util/cp1252.h"

#include <cstdio>

namespace varelo {
namespace {

constexpr const char* kLineColour[] = {"\033[1;36m", "\033[1;33m"};
constexpr const char* kLostColour = "\033[1;31m";
constexpr const char* kBackColour = "\033[1;32m";
constexpr const char* kPlain = "\033[0m";

std::string DumpText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t row = 0; row < bytes.size(); row += 16) {
        char offset[24];
        std::snprintf(offset, sizeof offset, "%04zx  ", row);
        if (row > 0) out += '\n';
        out += offset;
        std::string chars;
        for (std::size_t i = row; i < row + 16; ++i) {
            if (i < bytes.size()) {
                const auto b = static_cast<unsigned char>(bytes[i]);
                out += digits[b >> 4];
                out += digits[b & 0xF];
                out += ' ';
                chars += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
            } else {
                out += "   ";
            }
            if (i == row + 7) out += ' ';
        }
        out += ' ';
        out += chars;
    }
    return out;
}

std::string Paint(std::string text, const char* colour, bool on) {
    return on ? colour + text + kPlain : text;
}

}  // namespace

std::string TelegramBodyText(std::string_view bytes, RenderMode mode) {
    switch (mode) {
        case RenderMode::Dump:
            return DumpText(bytes);
        case RenderMode::Hex:
            return RenderBlock(bytes, DisplayMode{true, false});
        case RenderMode::Ctrl:
            return cp1252ToUtf8(RenderBlock(bytes, DisplayMode{false, true}));
        case RenderMode::Text:
            break;
    }
    return cp1252ToUtf8(RenderBlock(bytes, DisplayMode{false, false}));
}

std::string TelegramScreenText(const Telegram& t, const TraceView& view, bool colour) {
    if (t.bytes.empty() && !t.notes.text.empty()) {
        // A finding of its own, such as a MODBUS time-out: the time and the line, then what it is.
        std::string out = Paint(TimeOfDayText(t.start, view) + " " + view.names[static_cast<std::size_t>(t.line)],
                                kLineColour[t.line], colour);
        for (const std::string& line : t.notes.text) out += "  " + line + "\n";
        return out;
    }
    std::string header = TimeOfDayText(t.start, view) + " " + view.names[static_cast<std::size_t>(t.line)] +
                         (t.sent ? " <- " : " -> ") + std::to_string(t.bytes.size()) +
                         (t.bytes.size() == 1 ? " byte" : " bytes");
    if (t.gapSameLine) header += ", gap " + MillisecondsText(*t.gapSameLine);
    if (view.lineCount > 1 && t.gapAnyLine) header += ", after either line " + MillisecondsText(*t.gapAnyLine);
    if (t.continued) header += ", continued";
    if (t.cut) header += ", cut at the length cap";
    std::string out = Paint(std::move(header), kLineColour[t.line], colour);
    out += "\n  ";
    std::string body = TelegramBodyText(t.bytes, view.mode);
    if (view.mode == RenderMode::Dump) {
        for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 3)) {
            body.replace(at, 1, "\n  ");
        }
    }
    out += body;
    out += '\n';
    for (const std::string& line : t.notes.text) out += "  " + line + "\n";
    return out;
}

std::string LineEventScreenText(const LineEvent& e, const TraceView& view, bool colour) {
    std::string text = TimeOfDayText(e.stamp, view) + " " + view.names[static_cast<std::size_t>(e.line)];
    const char* paint = kLineColour[e.line];
    switch (e.kind) {
        case LineEvent::Kind::Lost:
            text += " lost: " + e.detail;
            paint = kLostColour;
            break;
        case LineEvent::Kind::Back:
            text += " back" + (e.detail.empty() ? std::string() : " on " + e.detail);
            paint = kBackColour;
            break;
        case LineEvent::Kind::ModemLines:
            text += " modem lines: " + ModemLinesText(e.modem);
            break;
        case LineEvent::Kind::ModemUnknown:
            text += " modem lines: the device does not report them";
            break;
    }
    return Paint(std::move(text), paint, colour) + "\n";
}

std::string ModemLinesText(std::uint8_t lines) {
    static constexpr std::pair<std::uint8_t, const char*> kNames[] = {
        {kModemCts, "CTS"}, {kModemDsr, "DSR"}, {kModemDcd, "DCD"}, {kModemRi, "RI"}};
    std::string text;
    for (const auto& [bit, name] : kNames) {
        if (lines & bit) text += (text.empty() ? "" : " ") + std::string(name);
    }
    return text.empty() ? "none" : text;
}

}  // namespace varelo
