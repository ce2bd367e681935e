#pragma once

#include "app/monitor/monitor_view.h"
#include "terminal/terminal_view.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varelo {

// How many leading bytes of `text` can be left out when it is written to the screen
// at its cursor, without changing any cell: a run of printable characters (no byte
// below 0x20) so long that it scrolls every row off the screen twice over loses whole
// lines from its start, which would have scrolled away within the same write, before
// anything is painted. The rest lands on the same columns, and the screen, cursor and
// colours end exactly as if all of it had been written.
std::size_t LeadScrolledAway(std::string_view text, const CrtScreen& screen);

// The monitor writes the traffic to the main window's terminal view through this.
class TerminalMonitorView final : public MonitorView {
  public:
    explicit TerminalMonitorView(TQVBcrt& view) : view_(view) {}

    void WriteString(std::string_view text) override {
        text.remove_prefix(LeadScrolledAway(text, view_.model()));
        view_.WriteBuffer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    void WriteChar(char c) override { view_.WriteChar(static_cast<std::uint8_t>(c)); }
    void SetTextColor(Colour colour) override { view_.SetTextColor(colour); }
    void SetBackColor(Colour colour) override { view_.SetBackColor(colour); }

  private:
    TQVBcrt& view_;
};

}  // namespace varelo
