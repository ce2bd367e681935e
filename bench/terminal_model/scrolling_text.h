#pragma once

#include <string>

namespace varelo {

// Lines of 88 printable bytes and CR LF, cut to the given size: with 88 columns
// every line fills a row, so the screen scrolls all the time.
inline std::string scrollingText(std::size_t size) {
    std::string text;
    while (text.size() < size) {
        for (int i = 0; i < 88; ++i) text += static_cast<char>(' ' + (text.size() % 95));
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

}  // namespace varelo
