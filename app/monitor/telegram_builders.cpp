#include "app/monitor/telegram_builders.h"

#include "app/monitor/monitor_state.h"
#include "app/monitor/regional_settings.h"
#include "app/monitor/weight_text.h"
#include "modbus/modbus_frame.h"
#include "util/shared_state.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace varelo {
namespace {

constexpr std::array<std::string_view, 6> CodePrefixes = {"XL", "YL", "SS", "TS", "L0", "R0"};

constexpr char DLE = 0x10;
constexpr char ENQ = 0x05;
constexpr std::int32_t PrefixCount = static_cast<std::int32_t>(CodePrefixes.size());
constexpr std::int32_t ReportSlaveId = 17;

}  // namespace

TelegramBuilders::TelegramBuilders(MonitorState& state, SharedState& shared, const RegionalSettings& regional)
    : state_(state), shared_(shared), regional_(regional) {}

void TelegramBuilders::appendLineEnd() {
    if (state_.SkipLine) shared_.TlgToSend += "\r\n";
}

void TelegramBuilders::nextStation() {
    // Station + 1, back to 1 past StationCount; written so that it cannot overflow.
    state_.Station = state_.Station >= state_.StationCount ? 1 : state_.Station + 1;
}

void TelegramBuilders::BuildDateHour() {
    shared_.TlgToSend = regional_.ShortDateText() + " " + regional_.LongTimeText();
    appendLineEnd();
}

void TelegramBuilders::BuildCode11() {
    const std::int32_t prefixIndex = std::clamp(state_.PrefixIndex, 1, PrefixCount);
    shared_.TlgToSend = std::string(CodePrefixes[prefixIndex - 1]) + std::to_string(state_.CodeCounter);
    state_.PrefixIndex = prefixIndex == PrefixCount ? 1 : prefixIndex + 1;
    // Wraps like the 32-bit counter it is, without overflowing.
    state_.CodeCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(state_.CodeCounter) - 1u);
}

void TelegramBuilders::BuildWeight() {
    const long double weight = GaussRandom(random_, 23.0L, 0.63455L);
    state_.WeightText = WeightTextFor(weight, regional_.DecimalSeparator());
    shared_.TlgToSend = regional_.ShortDateText() + " " + regional_.LongTimeText().substr(0, 5) + " " +
                        state_.WeightText + " Kg";
    appendLineEnd();
}

void TelegramBuilders::BuildAsciiChars() {
    shared_.TlgToSend.clear();
    for (int b = 0x00; b <= 0xFE; ++b) shared_.TlgToSend += static_cast<char>(b);
    appendLineEnd();
}

void TelegramBuilders::BuildRQZPoll() {
    nextStation();
    shared_.TlgToSend = {DLE, ENQ, static_cast<char>(state_.Station & 0xFF)};
}

void TelegramBuilders::PollNextStationAscii() {
    nextStation();
    shared_.TlgToSend = BuildModbusFrame(state_.Station, ReportSlaveId, 0, 0, "ASCII");
}

void TelegramBuilders::PollNextStationRtu() {
    nextStation();
    shared_.TlgToSend = BuildModbusFrame(state_.Station, ReportSlaveId, 0, 32, "RTU");
}

}  // namespace varelo
