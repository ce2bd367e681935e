#pragma once

namespace varelo::test {

// True when the program runs under wine, whose serial ports on a pseudo-terminal do not
// show everything a Windows driver does.
bool UnderWine();

}  // namespace varelo::test

// Skips the running test under wine, saying which part of the port wine leaves out.
#define SKIP_UNDER_WINE(what) \
    if (::varelo::test::UnderWine()) GTEST_SKIP() << "wine on a pseudo-terminal: " << (what)
