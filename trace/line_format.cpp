#include "trace/line_format.h"

#include <charconv>

namespace varelo {
namespace {

constexpr std::string_view kParityLetters = "NOEMS";

}  // namespace

std::optional<LineFormat> ParseSettingString(std::string_view text) {
    LineFormat format;
    const std::size_t comma = text.find(',');
    const std::string_view rate = text.substr(0, comma);
    const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), format.baud);
    if (rate.empty() || error != std::errc() || end != rate.data() + rate.size() || format.baud == 0) {
        return std::nullopt;
    }
    if (comma == std::string_view::npos) return format;
    const std::string_view frame = text.substr(comma + 1);
    if (frame.size() < 3 || frame[0] < '5' || frame[0] > '8') return std::nullopt;
    format.dataBits = frame[0] - '0';
    const std::size_t parity = kParityLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(frame[1]))));
    if (parity == std::string_view::npos) return std::nullopt;
    format.parity = static_cast<TraceParity>(parity);
    const std::string_view stop = frame.substr(2);
    if (stop == "1") {
        format.stop = TraceStop::One;
    } else if (stop == "1.5") {
        format.stop = TraceStop::OneAndHalf;
    } else if (stop == "2") {
        format.stop = TraceStop::Two;
    } else {
        return std::nullopt;
    }
    return format;
}

std::string SettingString(const LineFormat& format) {
    static constexpr const char* kStop[] = {"1", "1.5", "2"};
    return std::to_string(format.baud) + "," + std::to_string(format.dataBits) +
           kParityLetters[static_cast<std::size_t>(format.parity)] + kStop[static_cast<std::size_t>(format.stop)];
}

double CharacterNanoseconds(const LineFormat& format) {
    static constexpr double kStopBits[] = {1.0, 1.5, 2.0};
    const double bits = 1.0 + format.dataBits + (format.parity == TraceParity::None ? 0.0 : 1.0) +
                        kStopBits[static_cast<std::size_t>(format.stop)];
    return bits * 1e9 / format.baud;
}

DeviceControl DeviceControlFor(const LineFormat& format) {
    LineSettings settings;
    settings.baudRateValue = format.baud;
    settings.dataBits = static_cast<TDataBits>(format.dataBits - 5);
    settings.parity = static_cast<TParity>(format.parity);
    settings.stopBits = static_cast<TStopBits>(format.stop);
    settings.hwFlow = format.flow == TraceFlow::RtsCts ? hfRTSCTS : format.rts ? hfNONERTSON : hfNONE;
    settings.swFlow = format.flow == TraceFlow::XonXoff ? sfXONXOFF : sfNONE;
    settings.enableDtrOnOpen = format.dtr;
    return BuildDeviceControl(settings);
}

}  // namespace varelo
