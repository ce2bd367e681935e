#include "app/terminal_monitor_view.h"

#include <algorithm>

namespace varelo {

// The screen wraps a printable character written in the last column at once, so a
// run of n characters from column x moves the cursor down (x - 1 + n) / columns
// lines. Leaving out k whole lines from the start keeps every other character on its
// column and takes k lines off that count. Keeping twice the rows' worth of lines
// means every row shown at the end (all of its cells, the columns beyond the shown
// ones too) is a fresh row that the write itself filled, as it is with the whole text.
std::size_t LeadScrolledAway(std::string_view text, const CrtScreen& screen) {
    const auto columns = static_cast<std::size_t>(screen.Columns());
    const std::size_t keptLines = 2 * static_cast<std::size_t>(screen.Rows());
    const std::size_t lines = (static_cast<std::size_t>(screen.CurX()) - 1 + text.size()) / columns;
    if (lines <= keptLines) return 0;
    const bool printable =
        std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return printable ? (lines - keptLines) * columns : 0;
}

}  // namespace varelo
