#include "app/monitor/byte_rendering.h"

#include "util/ctrl_names.h"

#include <array>
#include <cstring>

namespace varelo {
namespace {

// Longest rendering: a name such as "<NUL>".
constexpr std::size_t MaxRendered = 5;

struct Rendered {
    char text[MaxRendered] = {};
    unsigned char size = 0;
};

using RenderTable = std::array<Rendered, 256>;

Rendered hexForm(unsigned b) {
    static constexpr char digits[] = "0123456789ABCDEF";
    return Rendered{{'(', digits[b >> 4], digits[b & 0xF], ')', 0}, 4};
}

RenderTable makeTable(DisplayMode mode) {
    RenderTable table;
    for (unsigned b = 0; b < 256; ++b) {
        if (ShownAsItself(static_cast<unsigned char>(b), mode)) {
            table[b] = Rendered{{static_cast<char>(b)}, 1};
        } else if (b < 0x20 && mode.CtrlMode) {
            const std::string_view name = CtrlNames[b];
            Rendered r;
            std::memcpy(r.text, name.data(), name.size());
            r.size = static_cast<unsigned char>(name.size());
            table[b] = r;
        } else {
            table[b] = hexForm(b);
        }
    }
    return table;
}

// Hexa mode ignores the Ctrl flag, so three tables cover the four flag pairs.
const RenderTable& tableFor(DisplayMode mode) {
    static const RenderTable asciiHex = makeTable({false, false});
    static const RenderTable ctrlAsciiHex = makeTable({false, true});
    static const RenderTable hex = makeTable({true, false});
    if (mode.HexMode) return hex;
    return mode.CtrlMode ? ctrlAsciiHex : asciiHex;
}

}  // namespace

bool ShownAsItself(unsigned char byte, DisplayMode mode) {
    return byte >= 0x20 && byte <= 0xAF && !mode.HexMode;
}

std::string_view RenderByte(unsigned char byte, DisplayMode mode) {
    const Rendered& r = tableFor(mode)[byte];
    return {r.text, r.size};
}

void RenderBlockInto(std::string& out, std::string_view block, DisplayMode mode) {
    const RenderTable& table = tableFor(mode);
    // Room for the longest rendering of every byte; each entry is copied whole
    // (a fixed-size copy is a few stores), then the end moves by its real size.
    out.resize(block.size() * MaxRendered);
    char* dst = out.data();
    for (const char c : block) {
        const Rendered& r = table[static_cast<unsigned char>(c)];
        std::memcpy(dst, r.text, MaxRendered);
        dst += r.size;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::string RenderBlock(std::string_view block, DisplayMode mode) {
    std::string out;
    RenderBlockInto(out, block, mode);
    return out;
}

}  // namespace varelo
