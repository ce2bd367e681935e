#pragma once

#include "util/colour.h"

#include <string_view>

namespace varelo {

// Where the monitor writes the traffic: the terminal view, through a small
// adapter. Colours apply to what is written afterwards.
class MonitorView {
  public:
    virtual ~MonitorView() = default;
    virtual void WriteString(std::string_view text) = 0;
    virtual void WriteChar(char c) = 0;
    virtual void SetTextColor(Colour colour) = 0;
    virtual void SetBackColor(Colour colour) = 0;
};

}  // namespace varelo
