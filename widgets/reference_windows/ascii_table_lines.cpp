#include "widgets/reference_windows/ascii_table_lines.h"

#include <cstdio>

namespace varelo {
namespace {

constexpr int kCellsPerLine = 9;
constexpr int kCodeCount = 256;
constexpr char kStandIn = 0x0B;

char shownByte(int code) {
    if (code <= 10 || code == 13) return kStandIn;
    return static_cast<char>(code);
}

std::string cell(int code) {
    char digits[10];
    std::snprintf(digits, sizeof digits, " %03d %02X|", code, code);
    return shownByte(code) + std::string(digits);
}

}  // namespace

std::vector<std::string> asciiTableLines() {
    std::vector<std::string> lines;
    for (int first = 0; first < kCodeCount; first += kCellsPerLine) {
        std::string line;
        for (int code = first; code < first + kCellsPerLine && code < kCodeCount; ++code) line += cell(code);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace varelo
