#pragma once

#include <cstdint>

namespace varelo {

// A platform colour: 0x00BBGGRR, or a system colour (high byte 0x80) that is
// resolved to the desktop's palette only when drawn.
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour Black = 0x000000;
inline constexpr Colour Red = 0x0000FF;
inline constexpr Colour Lime = 0x00FF00;
inline constexpr Colour Yellow = 0x00FFFF;
inline constexpr Colour Blue = 0xFF0000;
inline constexpr Colour Aqua = 0xFFFF00;
inline constexpr Colour Purple = 0x800080;
inline constexpr Colour Silver = 0xC0C0C0;
inline constexpr Colour White = 0xFFFFFF;
inline constexpr Colour SystemWindow = 0x80000005;      // background of text fields
inline constexpr Colour SystemWindowText = 0x80000008;  // text in text fields
}  // namespace colours

constexpr bool isSystemColour(Colour c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace varelo
