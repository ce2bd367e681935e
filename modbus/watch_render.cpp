#include "modbus/watch_render.h"

#include <charconv>
#include <cstdio>

#include "modbus/hex_text.h"

namespace varelo {
namespace {

void appendNumber(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string milliseconds(std::int64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f ms", static_cast<double>(us) / 1000.0);
    return text;
}

bool isRegisterData(const DecodedFrame& f) {
    const bool answer = f.role == FrameRole::Answer;
    switch (f.function) {
        case 3:
        case 4:
            return answer;
        case 16:
        case 23:
            return f.role == FrameRole::Request || (f.function == 23 && answer);
        default:
            return false;
    }
}

bool isBitData(const DecodedFrame& f) {
    return (f.role == FrameRole::Answer && (f.function == 1 || f.function == 2)) ||
           (f.role == FrameRole::Request && f.function == 15);
}

// The first register or bit the data belongs to, and how many bits it holds.
std::uint16_t firstAddressOf(const WatchEntry& e) {
    const DecodedFrame& f = e.frame;
    if (f.role == FrameRole::Request) return f.function == 23 ? f.writeAddress : f.address;
    return e.paired ? e.request.address : 0;
}
std::size_t bitCountOf(const WatchEntry& e) {
    if (e.frame.role == FrameRole::Request) return e.frame.count;
    return e.paired ? e.request.count : 0;
}

void appendRegisterText(std::string& out, const WatchEntry& e, const ValueOptions& options) {
    const DecodedFrame& f = e.frame;
    const RegisterValues values = ReadRegisters(f.data(), options.type, options.order);
    const std::uint16_t first = firstAddressOf(e);
    for (const RegisterValue& v : values.values) {
        out += ' ';
        appendNumber(out, first + v.offset);
        out += '=';
        out += v.text;
    }
    if (!values.note.empty()) out += " (" + values.note + ")";
}

std::string fieldsText(const WatchEntry& e, const ValueOptions& options) {
    const DecodedFrame& f = e.frame;
    std::string out;
    auto add = [&](const char* label, std::int64_t value) {
        if (!out.empty()) out += ' ';
        out += label;
        out += ' ';
        appendNumber(out, value);
    };
    auto addHex = [&](const char* label, unsigned value, int digits) {
        if (!out.empty()) out += ' ';
        out += label;
        out += ' ';
        AppendHexNumber(out, value, digits);
    };
    if (f.role == FrameRole::Exception) {
        AppendHexNumber(out, f.exceptionCode, 2);
        return out + " " + ExceptionName(f.exceptionCode);
    }
    const bool request = f.role == FrameRole::Request;
    switch (f.function) {
        case 1:
        case 2:
        case 3:
        case 4:
            if (request) {
                add("address", f.address);
                add("count", f.count);
            } else if (f.function <= 2) {
                const std::string bits = BitList(f.data(), bitCountOf(e));
                appendNumber(out, static_cast<std::int64_t>((bits.size() + 1) / 2));
                out += " bits: " + bits;
            } else {
                appendNumber(out, static_cast<std::int64_t>(f.dataSize / 2));
                out += " registers";
                if (options.show) appendRegisterText(out, e, options);
            }
            break;
        case 5:
            add("address", f.address);
            out += f.value == 0xFF00 ? " on" : f.value == 0 ? " off" : " value ";
            if (f.value != 0xFF00 && f.value != 0) AppendHexNumber(out, f.value, 4);
            break;
        case 6:
            add("address", f.address);
            add("value", f.value);
            break;
        case 7:
            if (!request) addHex("status", f.value, 2);
            break;
        case 8:
            if (f.hasValue) {
                add("sub-function", f.value);
                out += " data ";
                AppendHexBytes(out, f.data(), true);
            }
            break;
        case 11:
            if (!request) {
                addHex("status", f.value, 4);
                add("events", f.count);
            }
            break;
        case 15:
        case 16:
            add("address", f.address);
            add("count", f.count);
            if (request && f.function == 15) out += " bits: " + BitList(f.data(), f.count);
            if (request && f.function == 16 && options.show) appendRegisterText(out, e, options);
            break;
        case 22:
            add("address", f.address);
            if (f.dataSize == 4) {
                addHex("and", static_cast<unsigned>(f.data()[0] & 0xFF) << 8 | (f.data()[1] & 0xFF), 4);
                addHex("or", static_cast<unsigned>(f.data()[2] & 0xFF) << 8 | (f.data()[3] & 0xFF), 4);
            }
            break;
        case 23:
            if (request) {
                add("read address", f.address);
                add("count", f.count);
                add("write address", f.writeAddress);
                add("count", f.writeCount);
            } else {
                appendNumber(out, static_cast<std::int64_t>(f.dataSize / 2));
                out += " registers";
            }
            if (options.show) appendRegisterText(out, e, options);
            break;
        case 43:
            addHex("MEI type", f.value, 2);
            if (f.dataSize) {
                out += " data ";
                AppendHexBytes(out, f.data(), true);
            }
            break;
        default:
            if (f.dataSize) {
                out += "data ";
                AppendHexBytes(out, f.data(), true);
            }
            break;
    }
    return out;
}

std::string checkText(const DecodedFrame& f) {
    const char* name = f.framing == TelegramFraming::Rtu ? "CRC" : "LRC";
    return std::string(name) + (f.check.right ? " ok" : " wrong");
}

std::string stationFunction(const DecodedFrame& f) {
    std::string out = "st " + std::to_string(f.station);
    if (f.station == 0) out += " (broadcast)";
    return out + " " + FunctionName(f.function) + " (" + std::to_string(f.function) + ")";
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            AppendHexNumber(out, static_cast<unsigned char>(c), 2);
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendKey(std::string& out, const char* key) {
    out += ",\"";
    out += key;
    out += "\":";
}

void appendJsonValues(std::string& out, const WatchEntry& e, const ValueOptions& options) {
    const DecodedFrame& f = e.frame;
    if (isBitData(f)) {
        const std::string bits = BitList(f.data(), bitCountOf(e), ',');
        appendKey(out, "bits");
        out += '[';
        out += bits;
        out += ']';
    } else if (options.show && isRegisterData(f)) {
        const RegisterValues values = ReadRegisters(f.data(), options.type, options.order);
        appendKey(out, "first");
        appendNumber(out, firstAddressOf(e));
        appendKey(out, "values");
        out += '[';
        for (std::size_t i = 0; i < values.values.size(); ++i) {
            if (i) out += ',';
            out += values.values[i].json;
        }
        out += ']';
        if (!values.note.empty()) {
            appendKey(out, "values_note");
            appendJsonString(out, values.note);
        }
    }
}

}  // namespace

const char* EntryKindName(EntryKind kind) {
    switch (kind) {
        case EntryKind::Request: return "request";
        case EntryKind::Answer: return "answer";
        case EntryKind::Exception: return "exception";
        case EntryKind::Orphan: return "orphan";
        case EntryKind::Invalid: return "invalid";
        case EntryKind::Timeout: return "timeout";
    }
    return "invalid";
}

std::string DescribeEntry(const WatchEntry& e, const ValueOptions& values) {
    const DecodedFrame& f = e.frame;
    std::string out;
    switch (e.kind) {
        case EntryKind::Request:
        case EntryKind::Answer:
        case EntryKind::Exception:
        case EntryKind::Orphan: {
            out = e.kind == EntryKind::Orphan ? "answer to no request " : std::string(EntryKindName(e.kind)) + " ";
            out += stationFunction(f);
            const std::string fields = fieldsText(e, values);
            if (!fields.empty()) out += ": " + fields;
            out += ", " + checkText(f);
            if (e.paired) out += ", " + milliseconds(e.responseUs);
            if (e.echoed) out += ", echoed";
            break;
        }
        case EntryKind::Timeout:
            out = "time-out " + stationFunction(f);
            if (const std::string fields = fieldsText(e, values); !fields.empty()) out += ": " + fields;
            out += ", no answer within " + milliseconds(e.responseUs);
            break;
        case EntryKind::Invalid:
            out = "invalid frame: ";
            out += f.problem == FrameProblem::BadCheck ? "bad check" : ProblemKey(f.problem);
            if (!f.detail.empty()) out += " (" + f.detail + ")";
            if (f.message.size() >= 2) out += ", " + stationFunction(f);
            if (e.paired) out += ", in answer after " + milliseconds(e.responseUs);
            break;
    }
    if (e.pieces > 1) out += ", in " + std::to_string(e.pieces) + " pieces";
    if (e.backToBack) out += ", no silence before it";
    if (!e.note.empty()) out += ", " + e.note;
    return out;
}

void AppendEntryJson(std::string& out, const WatchEntry& e, const ValueOptions& values, bool withTelegram) {
    const DecodedFrame& f = e.frame;
    out += "{\"kind\":\"";
    out += EntryKindName(e.kind);
    out += '"';
    if (withTelegram) {
        appendKey(out, "line");
        appendNumber(out, e.line + 1);
        appendKey(out, "start_us");
        appendNumber(out, e.startUs);
        appendKey(out, "end_us");
        appendNumber(out, e.endUs);
    }
    if (withTelegram && e.kind != EntryKind::Timeout) {
        appendKey(out, "bytes");
        out += '"';
        AppendHexBytes(out, e.bytes, false);
        out += '"';
    }
    if (f.message.size() >= 2) {
        appendKey(out, "station");
        appendNumber(out, f.station);
        appendKey(out, "function");
        appendNumber(out, f.function);
    }
    if (e.kind == EntryKind::Invalid) {
        appendKey(out, "problem");
        out += '"';
        out += ProblemKey(f.problem);
        out += '"';
        appendKey(out, "detail");
        appendJsonString(out, f.detail);
    } else {
        if (f.hasAddress) {
            appendKey(out, "address");
            appendNumber(out, f.address);
        }
        if (f.hasCount) {
            appendKey(out, "count");
            appendNumber(out, f.count);
        }
        if (f.hasValue) {
            appendKey(out, "value");
            appendNumber(out, f.value);
        }
        if (f.hasWrite) {
            appendKey(out, "write_address");
            appendNumber(out, f.writeAddress);
            appendKey(out, "write_count");
            appendNumber(out, f.writeCount);
        }
        if (f.role == FrameRole::Exception) {
            appendKey(out, "exception");
            appendNumber(out, f.exceptionCode);
        }
        if (f.dataSize) {
            appendKey(out, "data");
            out += '"';
            AppendHexBytes(out, f.data(), false);
            out += '"';
        }
        if (e.kind != EntryKind::Timeout) appendJsonValues(out, e, values);
    }
    if (e.kind != EntryKind::Timeout && f.message.size() >= 2) {
        appendKey(out, "check");
        out += f.check.right ? "\"ok\"" : "\"wrong\"";
    }
    if (e.paired) {
        appendKey(out, "response_us");
        appendNumber(out, e.responseUs);
    }
    if (e.echoed) out += ",\"echoed\":true";
    if (e.sent) out += ",\"sent\":true";
    if (e.broadcast) out += ",\"broadcast\":true";
    if (e.pieces > 1) {
        appendKey(out, "pieces");
        appendNumber(out, e.pieces);
    }
    if (e.backToBack) out += ",\"back_to_back\":true";
    if (!e.note.empty()) {
        appendKey(out, "note");
        appendJsonString(out, e.note);
    }
    out += '}';
}

}  // namespace varelo
