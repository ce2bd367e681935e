#pragma once

#include "app/monitor/monitor_view.h"
#include "terminal/terminal_view.h"

#include <cstdint>

namespace varelo {

// The monitor writes the traffic to the main window's terminal view through this.
class TerminalMonitorView final : public MonitorView {
  public:
    explicit TerminalMonitorView(TQVBcrt& view) : view_(view) {}

    void WriteString(std::string_view text) override {
        view_.WriteBuffer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    void WriteChar(char c) override { view_.WriteChar(static_cast<std::uint8_t>(c)); }
    void SetTextColor(Colour colour) override { view_.SetTextColor(colour); }
    void SetBackColor(Colour colour) override { view_.SetBackColor(colour); }

  private:
    TQVBcrt& view_;
};

}  // namespace varelo
