#pragma once

#include <cstddef>
#include <string>

namespace varelo {

// Lines of 88 printable bytes and CR LF, cut to the given size: with 88 columns
// every line fills a row, so the screen scrolls all the time.
// With `everyByte`, the lines run through every byte the view stores (32 to 255),
// those the font has no glyph for and the soft hyphen included.
inline std::string scrollingText(std::size_t size, bool everyByte = false) {
    const std::size_t values = everyByte ? 224 : 95;
    std::string text;
    while (text.size() < size) {
        for (int i = 0; i < 88; ++i) text += static_cast<char>(' ' + (text.size() % values));
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

}  // namespace varelo
