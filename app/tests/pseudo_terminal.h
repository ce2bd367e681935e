#pragma once

#include <string>

namespace varelo::test {

// The far end of a serial line: a pseudo-terminal whose master end the test holds,
// while the program opens the slave end by its path.
class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }

    // The line settings the slave end holds now. (A pseudo-terminal keeps no data
    // bits or parity of its own: it always reports 8 bits without parity.)
    struct Line {
        unsigned speed = 0;
        bool twoStopBits = false;
        bool rtsCts = false;
        bool xonXoff = false;
    };
    Line line() const;

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace varelo::test
