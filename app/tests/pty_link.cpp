#include "app/tests/pty_link.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace varelo::test {
namespace {

// Writes everything, waiting while the other end's queue is full, unless the
// link is being taken down. Bytes for an end that nobody has open are lost, as
// on a cable with nothing plugged in.
void writeAll(int fd, const char* data, ssize_t size, const std::atomic<bool>& stopping) {
    while (size > 0 && !stopping) {
        const ssize_t done = ::write(fd, data, static_cast<std::size_t>(size));
        if (done < 0 && errno == EINTR) continue;
        if (done < 0 && errno == EAGAIN) {
            pollfd room{fd, POLLOUT, 0};
            ::poll(&room, 1, 100);
            continue;
        }
        if (done <= 0) return;
        data += done;
        size -= done;
    }
}

}  // namespace

PtyLink::PtyLink() {
    ok_ = open(near_) && open(far_) && ::pipe2(wake_, O_CLOEXEC) == 0;
    if (ok_) copier_ = std::thread([this] { copyBothWays(); });
}

PtyLink::~PtyLink() {
    if (copier_.joinable()) {
        stopping_ = true;
        const char stop = 0;
        (void)!::write(wake_[1], &stop, 1);
        copier_.join();
    }
    for (int fd : {near_.master, far_.master, wake_[0], wake_[1]})
        if (fd >= 0) ::close(fd);
}

bool PtyLink::open(End& end) {
    end.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (end.master < 0 || ::grantpt(end.master) != 0 || ::unlockpt(end.master) != 0) return false;
    end.path = ::ptsname(end.master);
    return true;
}

void PtyLink::copyBothWays() {
    for (;;) {
        pollfd fds[] = {{near_.master, POLLIN, 0}, {far_.master, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[2].revents) return;
        char chunk[4096];
        bool hungUp = false;
        for (int i = 0; i < 2; ++i) {
            hungUp |= (fds[i].revents & (POLLIN | POLLHUP)) == POLLHUP;
            if (!(fds[i].revents & POLLIN)) continue;
            const ssize_t got = ::read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) writeAll(fds[1 - i].fd, chunk, got, stopping_);
        }
        // An end whose program has it closed (between a close and an open
        // again) reports a hang-up at once: look again a little later.
        if (hungUp) ::usleep(2000);
    }
}

}  // namespace varelo::test
