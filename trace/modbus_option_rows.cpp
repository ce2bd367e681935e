#include "trace/modbus_option_rows.h"

#include "modbus/register_values.h"
#include "modbus/telegram_check.h"

#include <charconv>

namespace varelo {
namespace {

std::optional<std::int64_t> WholeNumber(std::string_view text, std::int64_t least, std::int64_t most) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least || value > most)
        return std::nullopt;
    return value;
}

}  // namespace

TraceOptionGroup ModbusOptionGroup() {
    TraceOptionGroup group{"MODBUS", {}};
    auto& rows = group.options;
    rows.push_back({"--modbus", "rtu|ascii", "read the telegrams as MODBUS frames: decoded, checked, paired, counted",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        if (v != "rtu" && v != "ascii") return "--modbus: '" + std::string(v) + "' is not rtu or ascii";
                        o.modbus.on = true;
                        o.modbus.framing = v == "rtu" ? TelegramFraming::Rtu : TelegramFraming::Ascii;
                        return {};
                    }});
    rows.push_back({"--timeout", "MS", "a request with no answer within MS ms has timed out (default 1000)",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const auto ms = WholeNumber(v, 1, 3'600'000);
                        if (!ms) return "--timeout: '" + std::string(v) + "' is not 1 to 3600000 ms";
                        o.modbus.timeoutMs = *ms;
                        return {};
                    }});
    rows.push_back({"--regs", "", "show register data as values (u16 unless --type says otherwise)",
                    [](TraceOptions& o, std::string_view) -> std::string {
                        o.modbus.values.show = true;
                        return {};
                    }});
    rows.push_back({"--type", "u16|i16|hex|u32|i32|f32|u64|i64|f64", "what register values are; implies --regs",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const auto type = ParseRegisterType(v);
                        if (!type) return "--type: '" + std::string(v) + "' is not u16, i16, hex, u32, i32, f32, u64, i64 or f64";
                        o.modbus.values.show = true;
                        o.modbus.values.type = *type;
                        return {};
                    }});
    rows.push_back({"--order", "ABCD|CDAB|BADC|DCBA", "byte order of wider values (default ABCD, high register first)",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const auto order = ParseWordOrder(v);
                        if (!order) return "--order: '" + std::string(v) + "' is not ABCD, CDAB, BADC or DCBA";
                        o.modbus.values.order = *order;
                        return {};
                    }});
    rows.push_back({"--send", "HEX", "write this telegram on the first line (with --every, again and again)",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const HexBytes bytes = ParseHexBytes(v);
                        if (!bytes.error.empty()) return "--send: " + bytes.error;
                        o.send.bytes = bytes.bytes;
                        return {};
                    }});
    rows.push_back({"--every", "MS", "send the --send telegram every MS ms (default: once)",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const auto ms = WholeNumber(v, 1, 3'600'000);
                        if (!ms) return "--every: '" + std::string(v) + "' is not 1 to 3600000 ms";
                        o.send.everyMs = *ms;
                        return {};
                    }});
    rows.push_back({"--append", "crc16|lrc|sum8|xor8|none", "the check added to the --send telegram (default none)",
                    [](TraceOptions& o, std::string_view v) -> std::string {
                        const auto check = ParseAppendedCheck(v);
                        if (!check) return "--append: '" + std::string(v) + "' is not crc16, lrc, sum8, xor8 or none";
                        o.send.check = *check;
                        return {};
                    }});
    return group;
}

}  // namespace varelo
