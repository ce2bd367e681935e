#include "app/monitor/station_count.h"

#include "util/integer_text.h"
#include "util/text_helpers.h"

#include <algorithm>

namespace varelo {
namespace {

constexpr std::int32_t DefaultStationCount = 6;
constexpr std::int32_t HighestModbusStation = 247;

}  // namespace

std::int32_t StationCountFromAnswer(const std::string& answer) {
    const std::string cleaned = CleanIntegerText(answer);
    return cleaned == "0" ? DefaultStationCount : StrToInt(cleaned);
}

std::int32_t ModbusStationCountFromAnswer(const std::string& answer) {
    return std::min(StationCountFromAnswer(answer), HighestModbusStation);
}

}  // namespace varelo
