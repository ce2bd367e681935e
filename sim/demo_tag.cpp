#include "sim/demo_tag.h"

#include <array>
#include <string_view>

namespace varelo {

namespace {

constexpr std::array<std::string_view, 16> kTagLines = {
    "VARELO DEMO TAG ", "SERIAL 000123   ", "PRODUCT: BOLTS  ", "SIZE: M8 X 40   ",
    "LOT 2024-117    ", "QTY: 500 PCS    ", "WEIGHT: 23.0 KG ", "ORIGIN: LINE 3  ",
    "OPERATOR: 07    ", "CHECKED: YES    ", "STATION 1       ", "REGISTERS 0-127 ",
    "4 BLOCKS OF 32  ", "HIGH BYTE FIRST ", "0123456789ABCDEF", "END OF TAG      ",
};

constexpr bool allLinesSixteenWide() {
    for (std::string_view line : kTagLines)
        if (line.size() != 16) return false;
    return true;
}
static_assert(allLinesSixteenWide());

}  // namespace

const std::string& DemoTagImage() {
    static const std::string image = [] {
        std::string bytes;
        for (std::string_view line : kTagLines) bytes += line;
        return bytes;
    }();
    return image;
}

std::uint16_t DemoTagRegister(int index) {
    const std::string& image = DemoTagImage();
    const auto low = static_cast<unsigned char>(image.at(2 * index));
    const auto high = static_cast<unsigned char>(image.at(2 * index + 1));
    return static_cast<std::uint16_t>(high << 8 | low);
}

}  // namespace varelo
