#include "modbus/tag_reader.h"

#include "modbus/modbus_frame.h"
#include "util/integer_text.h"
#include "util/text_helpers.h"

#include <algorithm>
#include <cstdio>

namespace varelo {
namespace {

constexpr std::int32_t kReadHoldingRegisters = 3;
constexpr unsigned char kReadHoldingRegistersException = 0x83;
constexpr std::int32_t kHighestStation = 247;
constexpr std::int32_t kBadCrcsBeforeRestart = 3;

// Station, function and byte count before the data; the CRC after it.
constexpr std::size_t kHeaderBytes = 3;
constexpr std::size_t kCrcBytes = 2;

constexpr std::size_t kMapRowBytes = 16;
constexpr int kMapRows = 16;

// A response is not complete yet: TimerModBus asks again if the rest does not come.
TagOutcome waitForRest() {
    TagOutcome outcome;
    outcome.enableRetryTimer = true;
    return outcome;
}

unsigned char byteAt(const std::string& bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

}  // namespace

void TagReader::prepareSession(std::int32_t station) {
    state_.TagStation = station;
    state_.TagAddress = 0;
    state_.TagQuantity = kBlockRegisters;
    state_.TagMap.clear();
    state_.TagRxBuffer.clear();
}

void TagReader::beginSession() {
    state_.TagSession = true;
    requestExpectedBlock();
}

TagOutcome TagReader::ProcessTagResponse(const std::string& bytes) {
    std::string& rx = state_.TagRxBuffer;
    rx += bytes;
    if (rx.size() < kHeaderBytes) return waitForRest();

    const unsigned char station = state_.TagStation & 0xFF;
    if (byteAt(rx, 0) == station && byteAt(rx, 1) == kReadHoldingRegistersException) {
        // The exception code is not looked at: any refusal restarts the pass.
        state_.TagCrcErrors = 0;
        TagOutcome outcome = initialize();
        outcome.labelPaso = "0";
        return outcome;
    }
    if (byteAt(rx, 0) != station || byteAt(rx, 1) != kReadHoldingRegisters) {
        rx.clear();  // another station's traffic, or noise
        return {};
    }

    const std::size_t dataBytes = byteAt(rx, 2);
    const std::size_t responseBytes = kHeaderBytes + dataBytes + kCrcBytes;
    if (rx.size() < responseBytes) return waitForRest();

    // Only one response is expected per request: whatever follows it is dropped.
    rx.resize(responseBytes);
    const std::string checked = rx.substr(0, kHeaderBytes + dataBytes);
    if (ModbusCrc16(checked) != rx.substr(kHeaderBytes + dataBytes)) {
        rx.clear();
        ++state_.TagCrcErrors;
        if (state_.TagCrcErrors > kBadCrcsBeforeRestart) return initialize();
        TagOutcome outcome;  // the same block is asked for again
        outcome.ledRojo = colours::Red;
        return outcome;
    }

    // A good response is the block at TagAddress: MODBUS sends each register
    // high byte first, the image holds it low byte first.
    if (state_.TagAddress == 0) state_.TagMap.clear();
    for (std::size_t i = kHeaderBytes; i + 1 < kHeaderBytes + dataBytes; i += 2) {
        state_.TagMap += rx[i + 1];
        state_.TagMap += rx[i];
    }
    rx.clear();
    state_.TagAddress += kBlockRegisters;
    state_.TagCrcErrors = 0;

    TagOutcome outcome;
    outcome.ledAmarillo = colours::Yellow;
    outcome.ledVerde = colours::Lime;
    outcome.labelPaso = std::to_string(state_.TagAddress / kBlockRegisters);
    if (state_.TagAddress > kLastBlockAddress) {
        state_.TagAddress = 0;
        outcome.mapToShow = state_.TagMap;
    }
    requestExpectedBlock();
    return outcome;
}

void TagReader::retryTick() {
    requestExpectedBlock();
}

TagOutcome TagReader::initialize() {
    state_.TagAddress = 0;
    state_.TagQuantity = kBlockRegisters;
    state_.TagMap.clear();
    state_.TagRxBuffer.clear();
    requestExpectedBlock();
    TagOutcome outcome;
    outcome.initialize = true;
    return outcome;
}

void TagReader::requestExpectedBlock() {
    state_.TlgToSend = BuildModbusFrame(state_.TagStation, kReadHoldingRegisters, state_.TagAddress,
                                        state_.TagQuantity, "RTU");
}

std::int32_t TagStationFromAnswer(const std::string& answer) {
    return std::clamp(StrToInt(CleanIntegerText(answer)), std::int32_t{1}, kHighestStation);
}

std::vector<std::string> TagMapLines(const std::string& image) {
    std::vector<std::string> lines{"-W-|H|0123456789ABCDEF"};
    for (int row = 0; row < kMapRows; ++row) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%03d|%X|", row * 8, row);
        const std::size_t offset = std::min(row * kMapRowBytes, image.size());
        lines.push_back(prefix + image.substr(offset, kMapRowBytes));
    }
    return lines;
}

}  // namespace varelo
