#pragma once

#include <optional>
#include <string>

namespace varelo {

// Picks ASCII requests out of the received bytes, one byte at a time. A frame
// starts at ':' (which also abandons a frame in progress, so noise and truncated
// frames cost nothing but themselves) and ends at CR LF. It counts only with an
// even number of hexadecimal digits, at least a station, a function and the LRC,
// and a right LRC; anything else is dropped without a word, as a slave does.
class AsciiRequestFramer {
  public:
    // The message (station, function, data; the LRC removed) when `byte`
    // completes a good frame.
    std::optional<std::string> push(char byte);
    void reset();

  private:
    bool inFrame_ = false;
    std::string text_;  // what came after ':'
};

}  // namespace varelo
