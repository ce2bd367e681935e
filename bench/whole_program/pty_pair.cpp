#include "bench/whole_program/pty_pair.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace varelo::bench {

PtyPair::PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (master_ < 0) return;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    if (const char* name = ::ptsname(master_)) slavePath_ = name;
}

PtyPair::~PtyPair() {
    if (master_ >= 0) ::close(master_);
}

}  // namespace varelo::bench
