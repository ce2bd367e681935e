#pragma once

#include <string>

namespace varelo::test {

// The checks on a line after the program that held it has ended: no exclusive
// mark, no lock file, and a new open succeeds.
void ExpectLeftFree(const std::string& device);

}  // namespace varelo::test
