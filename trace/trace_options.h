#pragma once

#include "trace/line_format.h"
#include "trace/modbus_settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace varelo {

enum class RenderMode : std::uint8_t { Text, Ctrl, Hex, Dump };
enum class OutputFormat : std::uint8_t { Screen, Json, Csv };

struct TraceOptions {
    std::vector<std::string> devices;  // one or two
    std::array<LineFormat, 2> lines;
    std::array<std::string, 2> aliases;

    double gapCharacters = 3.5;
    std::optional<double> gapMilliseconds;
    std::string delimiter;  // bytes
    std::size_t maxBytes = 4096;

    RenderMode mode = RenderMode::Text;
    OutputFormat format = OutputFormat::Screen;
    bool colour = true;
    std::string outFile;
    std::string recordFile;
    std::string replayFile;

    bool reconnect = true;
    bool modem = false;
    std::optional<double> durationSeconds;
    std::optional<std::uint64_t> count;
    bool help = false;

    ModbusTraceOptions modbus;
    SendOptions send;
};

// One command-line option: its name ("--baud"), the name of its value (empty for
// a switch), a line of help, and what it does to the options; an error text when
// the value is refused. Options are kept in a table, so a new feature adds its own rows.
struct TraceOptionRow {
    std::string name;
    std::string valueName;
    std::string help;
    std::function<std::string(TraceOptions&, std::string_view value)> apply;
    bool late = false;  // applied after every other option (settings of the second line alone)
};

struct TraceOptionGroup {
    std::string title;
    std::vector<TraceOptionRow> options;
};

// Every option varelo-trace takes, in the order --help shows them.
const std::vector<TraceOptionGroup>& TraceOptionTable();

// The command line (without the program name), or the one-line reason it is refused.
std::variant<TraceOptions, std::string> ParseTraceOptions(const std::vector<std::string>& args);

// The short usage shown with a refusal, and the whole of --help.
std::string TraceUsage();
std::string TraceHelp();

}  // namespace varelo
