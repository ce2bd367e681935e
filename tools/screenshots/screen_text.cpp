#include "tools/screenshots/screen_text.h"

#include "terminal/crt_screen.h"

namespace varelo::screenshots {

std::vector<std::string> ScreenRows(const CrtScreen& screen) {
    std::vector<std::string> rows;
    for (int y = 1; y <= screen.Rows(); ++y) {
        std::string row;
        for (int x = 1; x <= screen.Columns(); ++x) row += static_cast<char>(screen.cell(x, y).Ch);
        rows.push_back(row.substr(0, row.find_last_not_of(' ') + 1));
    }
    return rows;
}

int RowsStartingWith(const std::vector<std::string>& rows, const std::string& start) {
    int count = 0;
    for (const std::string& row : rows)
        if (row.rfind(start, 0) == 0) ++count;
    return count;
}

}  // namespace varelo::screenshots
