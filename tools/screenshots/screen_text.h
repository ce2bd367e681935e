#pragma once

#include <string>
#include <vector>

namespace varelo {
class CrtScreen;
}

namespace varelo::screenshots {

// The rows of the monitor as text, blanks at the end cut.
std::vector<std::string> ScreenRows(const CrtScreen& screen);

// How many rows start with `start`.
int RowsStartingWith(const std::vector<std::string>& rows, const std::string& start);

}  // namespace varelo::screenshots
