#pragma once

#include "serial/kernel_blocks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace varelo {

// What an analyser found in a telegram: lines of text shown under its bytes, and
// named values for the machine-readable outputs.
struct TelegramNotes {
    std::vector<std::string> text;
    std::vector<std::pair<std::string, std::string>> fields;  // name, value (JSON-ready text)
};

// One telegram of one line: the bytes between two silences (or up to a delimiter,
// or one block), with the stamps of its first and last block.
struct Telegram {
    int line = 0;  // 0 or 1
    KernelStamp start = 0;
    KernelStamp end = 0;
    std::string bytes;
    bool cut = false;        // ended at the length cap; the rest follows in the next one
    bool continued = false;  // the rest of a telegram that was cut
    bool sent = false;       // written by this program (--send), not received
    // Filled in when telegrams of both lines are put in order.
    std::optional<KernelStamp> gapSameLine;  // from the previous telegram's end on this line
    std::optional<KernelStamp> gapAnyLine;   // from the previous telegram's end on either line
    TelegramNotes notes;
};

// Something that happened to a line rather than a telegram on it.
struct LineEvent {
    enum class Kind : std::uint8_t { Lost, Back, ModemLines, ModemUnknown };
    int line = 0;
    KernelStamp stamp = 0;
    Kind kind = Kind::Lost;
    std::uint8_t modem = 0;  // with ModemLines: the lines that are on (kModem... bits)
    std::string detail;      // the reason a line was lost, the path it came back on
};

inline constexpr std::uint8_t kModemCts = 1, kModemDsr = 2, kModemDcd = 4, kModemRi = 8;

}  // namespace varelo
