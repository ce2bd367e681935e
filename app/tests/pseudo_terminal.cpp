#include "app/tests/pseudo_terminal.h"

// The kernel's own termios: it carries the speed of any rate (termios2), which
// glibc's termios cannot show. Its header clashes with <termios.h>, so this file
// uses only the kernel's.
#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace varelo::test {

PseudoTerminal::PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = ::ptsname(master_);
}

PseudoTerminal::~PseudoTerminal() {
    if (master_ >= 0) ::close(master_);
}

PseudoTerminal::Line PseudoTerminal::line() const {
    termios2 t{};
    if (::ioctl(master_, TCGETS2, &t) != 0) throw std::runtime_error("cannot read the line settings");
    Line line;
    line.speed = t.c_ospeed;
    line.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    line.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    line.xonXoff = (t.c_iflag & IXON) != 0 && (t.c_iflag & IXOFF) != 0;
    return line;
}

}  // namespace varelo::test
