#pragma once

#include <string>
#include <vector>

namespace varelo {

// The two columns of the control-character table, codes 0 to 15 and 16 to 31,
// each under the same two title lines and column heading. The lines are
// Windows-1252 byte strings ("Descripci\xF3n"); convert them where they are drawn.
std::vector<std::string> controlCharactersLowLines();
std::vector<std::string> controlCharactersHighLines();

}  // namespace varelo
