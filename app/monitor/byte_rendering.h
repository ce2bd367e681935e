#pragma once

#include <string>
#include <string_view>

namespace varelo {

// How the monitor shows a byte, by the two display-mode flags:
// - 0x20 to 0xAF as the byte itself, unless in Hexa mode;
// - below 0x20 by its name ("<CR>") in Ctrl - ASCII - Hexa mode;
// - anything else in hexadecimal form, "(0D)".
// 0xB0 and above are never shown as themselves. Nothing rendered holds CR or LF.
struct DisplayMode {
    bool HexMode = false;
    bool CtrlMode = false;
};

bool ShownAsItself(unsigned char byte, DisplayMode mode);

// The rendering of one byte; the view points into a table that lives for the whole run.
std::string_view RenderByte(unsigned char byte, DisplayMode mode);

// Replaces `out` with the rendering of the whole block. Reuses `out`'s storage,
// so a caller that keeps the string renders without allocating.
void RenderBlockInto(std::string& out, std::string_view block, DisplayMode mode);

std::string RenderBlock(std::string_view block, DisplayMode mode);

}  // namespace varelo
