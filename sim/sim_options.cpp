#include "sim/sim_options.h"

#include <charconv>
#include <optional>
#include <set>

namespace varelo {

namespace {

constexpr int kHighestStation = 247;

std::optional<int> wholeNumber(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

// "A-B" or a single station "A".
std::optional<StationRange> stationRange(const std::string& text) {
    const std::size_t dash = text.find('-');
    const auto first = wholeNumber(std::string_view(text).substr(0, dash), 1, kHighestStation);
    const auto last = dash == std::string::npos
                          ? first
                          : wholeNumber(std::string_view(text).substr(dash + 1), 1, kHighestStation);
    if (!first || !last || *first > *last) return std::nullopt;
    return StationRange{*first, *last};
}

// "N:MS": pieces of N bytes, MS milliseconds apart.
bool splitPacing(const std::string& text, OutputPacing& pacing) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    const auto size = wholeNumber(std::string_view(text).substr(0, colon), 1, 65536);
    const auto gap = wholeNumber(std::string_view(text).substr(colon + 1), 0, 60000);
    if (!size || !gap) return false;
    pacing.pieceSize = static_cast<std::size_t>(*size);
    pacing.pieceGap = std::chrono::milliseconds(*gap);
    return true;
}

std::optional<SimRoleKind> roleNamed(const std::string& name) {
    if (name == "bus") return SimRoleKind::Bus;
    if (name == "scale") return SimRoleKind::Scale;
    if (name == "loop") return SimRoleKind::Loop;
    return std::nullopt;
}

const std::set<std::string> kBusOnly = {"--stations", "--bad-crc", "--silent", "--echo"};
const std::set<std::string> kWithValue = {"--role",  "--stations", "--baud",  "--bad-crc",
                                          "--split", "--delay",    "--period"};

// Applies one option with its value; the reason it is refused, or nothing.
std::optional<std::string> apply(const std::string& name, const std::string& value, SimOptions& options) {
    const std::string refused = "bad value for " + name + ": '" + value + "'";
    if (name == "--role") {
        const auto role = roleNamed(value);
        if (!role) return refused + " (bus, scale or loop)";
        options.role = *role;
    } else if (name == "--stations") {
        const auto range = stationRange(value);
        if (!range) return refused + " (a station 1 to 247, or a range like 1-6)";
        options.bus.stations = *range;
    } else if (name == "--baud") {
        const auto baud = wholeNumber(value, 50, 4000000);
        if (!baud) return refused + " (50 to 4000000)";
        options.baud = *baud;
    } else if (name == "--bad-crc") {
        const auto every = wholeNumber(value, 1, 1000000);
        if (!every) return refused + " (1 or more)";
        options.bus.wrongCheckEvery = *every;
    } else if (name == "--split") {
        if (!splitPacing(value, options.pacing)) return refused + " (BYTES:MS, e.g. 3:20)";
    } else if (name == "--delay") {
        const auto delay = wholeNumber(value, 0, 60000);
        if (!delay) return refused + " (0 to 60000 ms)";
        options.pacing.delay = std::chrono::milliseconds(*delay);
    } else if (name == "--period") {
        const auto period = wholeNumber(value, 1, 3600000);
        if (!period) return refused + " (1 to 3600000 ms)";
        options.scalePeriod = std::chrono::milliseconds(*period);
    }
    return std::nullopt;
}

}  // namespace

std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    std::set<std::string> busOnlyGiven;
    std::vector<std::string> devices;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            devices.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (kBusOnly.count(name)) busOnlyGiven.insert(name);
        if (name == "--silent" || name == "--echo") {
            if (equals != std::string::npos) return name + " takes no value";
            (name == "--silent" ? options.bus.silent : options.bus.echo) = true;
            continue;
        }
        if (!kWithValue.count(name)) return "unknown option " + name + " (see --help)";
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return name + " needs a value";
        }
        if (auto refused = apply(name, value, options)) return *refused;
    }
    if (options.role != SimRoleKind::Bus && !busOnlyGiven.empty())
        return *busOnlyGiven.begin() + " is for --role bus only";
    if (devices.size() != 1)
        return devices.empty() ? "no device given (see --help)"
                               : "one device only, got '" + devices[1] + "' too";
    options.device = devices.front();
    return options;
}

std::string SimUsage() {
    return R"(Usage: varelo-sim [--role bus|scale|loop] [options] <device-path>

Plays the far end of a serial line: a pseudo-terminal, a socat pty link or a
real port. The device is opened raw and held exclusively.

Roles:
  --role bus      MODBUS slaves (the default): each request is answered in the
                  framing it came in, ASCII with LRC or RTU with CRC-16.
                  Functions 1, 2 (bits), 3, 4 (registers), 5, 6 (writes) and
                  17 (slave id); others get the exception "illegal function".
                  Station 0 is a broadcast: writes act, nothing is answered.
                  Station 1 is also a tag reader whose holding registers
                  0 to 127 hold a demonstration tag.
  --role scale    a weight line "dd/mm/yyyy hh:mm  23.4 Kg" CR LF each period
  --role loop     every byte received is sent back

Options:
  --stations A-B  stations served by the bus (default 1-6; one station: A)
  --baud N        line rate, 50 to 4000000 (default 9600); also sets the
                  silence that ends an RTU frame (3.5 characters, at least 4 ms)
  --period MS     scale: milliseconds between weight lines (default 1000)
Misbehaving on purpose, for demonstrations and tests:
  --bad-crc N     every N-th answer carries a wrong CRC or LRC
  --split N:MS    each answer goes out in pieces of N bytes, MS ms apart
  --delay MS      each answer goes out MS ms late
  --silent        requests act but are never answered
  --echo          every byte received comes straight back before the answer,
                  as the echo of a two-wire RS-485 line
  --help          this text

Unanswered requests (bad CRC or LRC, truncated, noise, other stations) are
ignored as a real slave ignores them. SIGINT or SIGTERM ends the program; so
does the device path disappearing.
)";
}

}  // namespace varelo
