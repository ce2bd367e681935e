#include "trace/trace_options.h"

#include "trace/modbus_option_rows.h"

#include <charconv>
#include <cmath>
#include <map>

namespace varelo {
namespace {

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> ParseOnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    std::string digits;
    for (const char c : text) {
        if (c == ' ' || c == ':') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// A row that changes a line setting: "--NAME" for both lines, "--NAME2" for the second.
void AddLineOption(std::vector<TraceOptionRow>& rows, const std::string& name, const std::string& valueName,
                   const std::string& help,
                   std::function<std::string(std::string_view, std::function<void(LineFormat&)>&)> parse) {
    for (const bool second : {false, true}) {
        rows.push_back({name + (second ? "2" : ""), valueName,
                        second ? "the same, for the second line only" : help,
                        [parse, second, name](TraceOptions& o, std::string_view value) -> std::string {
                            std::function<void(LineFormat&)> step;
                            std::string error = parse(value, step);
                            if (!error.empty()) return name + (second ? "2" : "") + ": " + error;
                            if (!second) step(o.lines[0]);
                            step(o.lines[1]);
                            return {};
                        },
                        second});
    }
}

std::vector<TraceOptionRow> LineRows() {
    std::vector<TraceOptionRow> rows;
    AddLineOption(rows, "--line", "SETTINGS", "rate, data bits, parity and stop bits at once: 9600,8E1 or 115200,8N1",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      const std::optional<LineFormat> f = ParseSettingString(v);
                      if (!f) return "'" + std::string(v) + "' is not a setting string such as 9600,8E1";
                      step = [f](LineFormat& l) {
                          l.baud = f->baud;
                          l.dataBits = f->dataBits;
                          l.parity = f->parity;
                          l.stop = f->stop;
                      };
                      return {};
                  });
    AddLineOption(rows, "--baud", "N", "bits per second, any rate (default 9600)",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      const auto baud = ParseNumber<std::uint32_t>(v);
                      if (!baud || *baud == 0) return "'" + std::string(v) + "' is not a rate";
                      step = [b = *baud](LineFormat& l) { l.baud = b; };
                      return {};
                  });
    AddLineOption(rows, "--bits", "5..8", "data bits (default 8)",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      const auto bits = ParseNumber<int>(v);
                      if (!bits || *bits < 5 || *bits > 8) return "'" + std::string(v) + "' is not 5, 6, 7 or 8";
                      step = [b = *bits](LineFormat& l) { l.dataBits = b; };
                      return {};
                  });
    AddLineOption(rows, "--parity", "none|odd|even|mark|space", "parity (default none)",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      static const std::map<std::string_view, TraceParity> names = {
                          {"none", TraceParity::None}, {"odd", TraceParity::Odd}, {"even", TraceParity::Even},
                          {"mark", TraceParity::Mark}, {"space", TraceParity::Space}};
                      const auto it = names.find(v);
                      if (it == names.end()) return "'" + std::string(v) + "' is not none, odd, even, mark or space";
                      step = [p = it->second](LineFormat& l) { l.parity = p; };
                      return {};
                  });
    AddLineOption(rows, "--stop", "1|1.5|2", "stop bits (default 1)",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      static const std::map<std::string_view, TraceStop> names = {
                          {"1", TraceStop::One}, {"1.5", TraceStop::OneAndHalf}, {"2", TraceStop::Two}};
                      const auto it = names.find(v);
                      if (it == names.end()) return "'" + std::string(v) + "' is not 1, 1.5 or 2";
                      step = [s = it->second](LineFormat& l) { l.stop = s; };
                      return {};
                  });
    AddLineOption(rows, "--flow", "none|rtscts|xonxoff", "flow control (default none)",
                  [](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                      static const std::map<std::string_view, TraceFlow> names = {
                          {"none", TraceFlow::None}, {"rtscts", TraceFlow::RtsCts}, {"xonxoff", TraceFlow::XonXoff}};
                      const auto it = names.find(v);
                      if (it == names.end()) return "'" + std::string(v) + "' is not none, rtscts or xonxoff";
                      step = [f = it->second](LineFormat& l) { l.flow = f; };
                      return {};
                  });
    for (const bool dtr : {true, false}) {
        AddLineOption(rows, dtr ? "--dtr" : "--rts", "on|off",
                      std::string(dtr ? "DTR" : "RTS") + " level set at start (default on, as the kernel opens a line)",
                      [dtr](std::string_view v, std::function<void(LineFormat&)>& step) -> std::string {
                          const std::optional<bool> on = ParseOnOff(v);
                          if (!on) return "'" + std::string(v) + "' is not on or off";
                          step = [dtr, on = *on](LineFormat& l) { (dtr ? l.dtr : l.rts) = on; };
                          return {};
                      });
    }
    for (const int line : {1, 2}) {
        rows.push_back({"--alias" + std::to_string(line), "NAME",
                        "the name shown for the " + std::string(line == 1 ? "first" : "second") + " line",
                        [line](TraceOptions& o, std::string_view v) -> std::string {
                            o.aliases[static_cast<std::size_t>(line - 1)] = std::string(v);
                            return {};
                        }});
    }
    return rows;
}

std::vector<TraceOptionRow> FramingRows() {
    return {
        {"--gap", "CHARS",
         "a telegram ends after this many character times of silence (default 3.5); 0: one telegram per block as "
         "the kernel hands it",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const auto gap = ParseNumber<double>(v);
             if (!gap || *gap < 0 || !std::isfinite(*gap)) return "--gap: '" + std::string(v) + "' is not a number of character times";
             o.gapCharacters = *gap;
             o.gapMilliseconds.reset();
             return {};
         }},
        {"--gap-ms", "MS", "a telegram ends after this many milliseconds of silence",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const auto gap = ParseNumber<double>(v);
             if (!gap || *gap < 0 || !std::isfinite(*gap)) return "--gap-ms: '" + std::string(v) + "' is not a number of milliseconds";
             o.gapMilliseconds = *gap;
             return {};
         }},
        {"--end", "HEX", "a telegram ends right after these bytes, e.g. 0A or 0D0A",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const std::optional<std::string> bytes = ParseHexBytes(v);
             if (!bytes) return "--end: '" + std::string(v) + "' is not bytes in hexadecimal";
             o.delimiter = *bytes;
             return {};
         }},
        {"--max", "N", "a telegram longer than N bytes is cut and marked (default 4096)",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const auto max = ParseNumber<std::size_t>(v);
             if (!max || *max == 0) return "--max: '" + std::string(v) + "' is not a byte count";
             o.maxBytes = *max;
             return {};
         }},
    };
}

std::vector<TraceOptionRow> OutputRows() {
    return {
        {"--mode", "text|ctrl|hex|dump",
         "text: characters, other bytes as (0D); ctrl: control characters by name (<CR>); hex: every byte as (0D); "
         "dump: offset, 16 bytes in hexadecimal and their characters (default text)",
         [](TraceOptions& o, std::string_view v) -> std::string {
             static const std::map<std::string_view, RenderMode> names = {
                 {"text", RenderMode::Text}, {"ctrl", RenderMode::Ctrl}, {"hex", RenderMode::Hex}, {"dump", RenderMode::Dump}};
             const auto it = names.find(v);
             if (it == names.end()) return "--mode: '" + std::string(v) + "' is not text, ctrl, hex or dump";
             o.mode = it->second;
             return {};
         }},
        {"--json", "", "one JSON object per telegram and line event",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.format = OutputFormat::Json;
             return {};
         }},
        {"--csv", "", "one CSV row per telegram and line event, after a header row",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.format = OutputFormat::Csv;
             return {};
         }},
        {"--out", "FILE", "writes the same output to FILE as well as to the screen, each telegram whole",
         [](TraceOptions& o, std::string_view v) -> std::string {
             o.outFile = std::string(v);
             return {};
         }},
        {"--no-color", "", "no colours, even on a terminal",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.colour = false;
             return {};
         }},
        {"--record", "FILE", "keeps the raw blocks with their stamps and the line settings in FILE",
         [](TraceOptions& o, std::string_view v) -> std::string {
             o.recordFile = std::string(v);
             return {};
         }},
        {"--replay", "FILE", "runs the analysis on a record instead of on lines, as fast as it can read",
         [](TraceOptions& o, std::string_view v) -> std::string {
             o.replayFile = std::string(v);
             return {};
         }},
    };
}

std::vector<TraceOptionRow> RunRows() {
    return {
        {"--modem", "", "reports every change of CTS, DSR, DCD and RI",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.modem = true;
             return {};
         }},
        {"--no-reconnect", "", "ends the run (status 1) when a line is lost, instead of waiting for it to come back",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.reconnect = false;
             return {};
         }},
        {"--duration", "S", "ends the run after S seconds",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const auto s = ParseNumber<double>(v);
             if (!s || *s <= 0 || !std::isfinite(*s)) return "--duration: '" + std::string(v) + "' is not a number of seconds";
             o.durationSeconds = *s;
             return {};
         }},
        {"--count", "N", "ends the run after N telegrams",
         [](TraceOptions& o, std::string_view v) -> std::string {
             const auto n = ParseNumber<std::uint64_t>(v);
             if (!n || *n == 0) return "--count: '" + std::string(v) + "' is not a telegram count";
             o.count = *n;
             return {};
         }},
        {"--help", "", "shows this help",
         [](TraceOptions& o, std::string_view) -> std::string {
             o.help = true;
             return {};
         }},
    };
}

const TraceOptionRow* FindOption(std::string_view name) {
    for (const TraceOptionGroup& group : TraceOptionTable()) {
        for (const TraceOptionRow& option : group.options) {
            if (option.name == name) return &option;
        }
    }
    return nullptr;
}

// One option's row of --help: its name, then its help wrapped at 79 columns.
std::string HelpRow(std::string left, const std::string& text) {
    constexpr std::size_t kIndent = 28, kWidth = 79;
    std::string row = left.size() < kIndent ? left + std::string(kIndent - left.size(), ' ') : left + "\n" + std::string(kIndent, ' ');
    std::size_t column = kIndent;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (column > kIndent && column + 1 + word.size() > kWidth) {
            row += "\n" + std::string(kIndent, ' ');
            column = kIndent;
        } else if (column > kIndent) {
            row += ' ';
            ++column;
        }
        row += word;
        column += word.size();
        at = end + 1;
    }
    return row + "\n";
}

std::string Check(const TraceOptions& o, bool gapZeroGiven) {
    if (o.help) return {};
    if (o.replayFile.empty() && o.devices.empty()) return "no device named";
    if (!o.replayFile.empty() && !o.devices.empty()) return "--replay reads a record, not a device: drop " + o.devices[0];
    if (!o.replayFile.empty() && !o.recordFile.empty()) return "--record and --replay cannot be used together";
    if (o.devices.size() == 2 && o.devices[0] == o.devices[1]) return "the same device twice: " + o.devices[0];
    if (gapZeroGiven && !o.delimiter.empty()) return "a gap of 0 cuts at every block and cannot be used with --end";
    if (o.send.bytes.empty() && (o.send.everyMs || o.send.check != AppendedCheck::None))
        return "--every and --append go with --send";
    if (!o.send.bytes.empty() && !o.replayFile.empty()) return "--send writes on a line and cannot be used with --replay";
    return {};
}

}  // namespace

const std::vector<TraceOptionGroup>& TraceOptionTable() {
    static const std::vector<TraceOptionGroup> table = {
        {"Lines", LineRows()},
        {"Telegrams", FramingRows()},
        {"Output", OutputRows()},
        {"Run", RunRows()},
        ModbusOptionGroup(),
    };
    return table;
}

std::variant<TraceOptions, std::string> ParseTraceOptions(const std::vector<std::string>& args) {
    TraceOptions options;
    // Options for the second line alone are applied after all others, so that
    // "--baud2" wins wherever it stands.
    std::vector<std::pair<const TraceOptionRow*, std::string>> later;
    bool gapZeroGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            if (options.devices.size() == 2) return "more than two devices: " + arg;
            options.devices.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg == "-h" ? "--help" : arg;
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const TraceOptionRow* option = FindOption(name);
        if (!option) return "unknown option " + name;
        if (option->valueName.empty()) {
            if (value) return name + " takes no value";
        } else if (!value) {
            if (i + 1 >= args.size()) return name + " needs a value (" + option->valueName + ")";
            value = args[++i];
        }
        if (option->late) {
            later.emplace_back(option, value.value_or(""));
            continue;
        }
        if (std::string error = option->apply(options, value.value_or("")); !error.empty()) return error;
        if (name == "--gap" || name == "--gap-ms") {
            gapZeroGiven = std::stod(*value) == 0;
        }
    }
    for (const auto& [option, value] : later) {
        if (std::string error = option->apply(options, value); !error.empty()) return error;
    }
    if (std::string error = Check(options, gapZeroGiven); !error.empty()) return error;
    return options;
}

std::string TraceUsage() {
    return "usage: varelo-trace [options] DEVICE [DEVICE2]\n"
           "       varelo-trace --replay FILE [options]\n"
           "varelo-trace --help lists the options.\n";
}

std::string TraceHelp() {
    std::string help =
        "varelo-trace: watches one or two serial lines from the terminal, telegram by telegram.\n\n" + TraceUsage() +
        "\nThe lines are opened for exclusive use and only read. Each telegram shows its time\n"
        "(wall clock, microseconds), its line, its length and the gaps to the previous\n"
        "telegram of the same line and of either line. A lost line is opened again when it\n"
        "is back. Ctrl-C or SIGTERM ends the run with a summary on standard error.\n"
        "Exit status: 0 a run that ended as asked; 1 a run that failed (a line lost with\n"
        "--no-reconnect, an output that could not be written, a record cut short); 2 a\n"
        "command line, device, output file or record refused at start.\n";
    for (const TraceOptionGroup& group : TraceOptionTable()) {
        help += "\n" + group.title + ":\n";
        if (group.title == "Lines") {
            help += "  Each applies to both lines; the same option ending in 2 (--baud2, --line2, ...)\n"
                    "  applies to the second line alone.\n";
        }
        for (const TraceOptionRow& option : group.options) {
            if (option.late) continue;
            help += HelpRow("  " + option.name + (option.valueName.empty() ? "" : " " + option.valueName), option.help);
        }
    }
    return help;
}

}  // namespace varelo
