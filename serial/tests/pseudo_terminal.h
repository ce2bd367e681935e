#pragma once

// The far end of a line for tests: a pseudo-terminal whose master end the test
// holds, while the driver opens the slave end by its path.
#include <asm/termbits.h>

#include <string>
#include <string_view>

namespace varelo::test {

class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }

    // Sends bytes towards the driver, letting the event loop run while the line is
    // full, until it stays full; the count sent.
    std::size_t writeSome(std::string_view bytes);
    bool writeAll(std::string_view bytes) { return writeSome(bytes) == bytes.size(); }
    // What the driver has sent and the master end has not read yet.
    std::string readAvailable();
    // The line as the slave end holds it.
    termios2 line() const;
    void closeMaster();

  private:
    int master_ = -1;
    std::string slavePath_;
};

// Descriptors this process holds open.
int OpenDescriptorCount();

// Whether the tty at the path carries the exclusive mark (TIOCEXCL).
bool MarkedExclusive(const std::string& device);

}  // namespace varelo::test
