#include "app/terminal_monitor_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

struct Start {
    const char* name;
    std::string before;  // written first, in other colours
};

std::string printableRun(std::size_t n, int seed) {
    std::string s(n, ' ');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(0x20 + (i * 7 + seed) % 0xE0);
    return s;
}

void writeTo(CrtScreen& screen, const std::string& text) {
    screen.WriteBuffer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

CrtScreen startedScreen(const Start& start) {
    CrtScreen screen;
    screen.SetColumns(88);
    screen.SetRows(24);
    screen.SetTextColor(colours::Red);
    screen.SetBackColor(colours::Aqua);
    writeTo(screen, start.before);
    screen.SetTextColor(colours::Black);
    screen.SetBackColor(colours::Lime);
    return screen;
}

// Writing the text with its lead left out ends on the very same cells (all rows and
// columns of the buffer, shown or not), cursor and colours as writing it whole.
TEST(LeadScrolledAway, LeavesTheScreenExactlyAsTheWholeTextWould) {
    const std::vector<Start> starts = {
        {"home", ""},
        {"mid-row on the first row", "abc"},
        {"last column of row 3", "\r\r" + std::string(87, 'x')},
        {"bottom row after scrolling", printableRun(88 * 30 + 17, 1)},
        {"right after a wrap", printableRun(88 * 26, 2)},
    };
    const std::size_t screenful = 88 * 24;
    const std::vector<std::size_t> lengths = {0,
                                              1,
                                              screenful,
                                              2 * screenful - 90,
                                              2 * screenful,
                                              2 * screenful + 1,
                                              2 * screenful + 88,
                                              2 * screenful + 89,
                                              8192,
                                              8192 + 5,
                                              100000};
    int skipping = 0;
    for (const Start& start : starts) {
        for (const std::size_t n : lengths) {
            SCOPED_TRACE(std::string(start.name) + ", " + std::to_string(n) + " characters");
            const std::string text = printableRun(n, static_cast<int>(n));
            CrtScreen whole = startedScreen(start);
            CrtScreen cut = startedScreen(start);
            const std::size_t lead = LeadScrolledAway(text, cut);
            skipping += lead > 0;
            writeTo(whole, text);
            writeTo(cut, text.substr(lead));

            ASSERT_EQ(cut.CurX(), whole.CurX());
            ASSERT_EQ(cut.CurY(), whole.CurY());
            for (int y = 1; y <= CrtScreen::MaxRows; ++y)
                for (int x = 1; x <= CrtScreen::MaxColumns; ++x) {
                    const TCrtCell& a = cut.cell(x, y);
                    const TCrtCell& b = whole.cell(x, y);
                    ASSERT_TRUE(a.Ch == b.Ch && a.TextColor == b.TextColor && a.BackColor == b.BackColor)
                        << "cell " << x << ", " << y;
                }
        }
    }
    EXPECT_GT(skipping, 10) << "long runs are cut";
}

TEST(LeadScrolledAway, TextWithControlCharactersIsWrittenWhole) {
    CrtScreen screen;
    std::string text = printableRun(100000, 3);
    text[50000] = '\r';
    EXPECT_EQ(LeadScrolledAway(text, screen), 0u);
    text[50000] = '\x07';  // a bell rings however far up it stands
    EXPECT_EQ(LeadScrolledAway(text, screen), 0u);
}

}  // namespace
}  // namespace varelo::test
