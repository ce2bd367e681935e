#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace varelo::test {

// Two pseudo-terminals joined back to back like a null-modem cable: what is
// written on one slave end is read on the other. Each end has a path, so two
// programs that open devices by name (the main window's driver and a slave)
// can talk. A thread copies between the two master ends.
class PtyLink {
  public:
    PtyLink();
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    bool ok() const { return ok_; }
    // The end the main window opens, and the end the peer opens.
    const std::string& nearPath() const { return near_.path; }
    const std::string& farPath() const { return far_.path; }

  private:
    struct End {
        int master = -1;
        std::string path;
    };
    static bool open(End& end);
    void copyBothWays();

    End near_;
    End far_;
    int wake_[2] = {-1, -1};
    bool ok_ = false;
    std::atomic<bool> stopping_{false};
    std::thread copier_;
};

}  // namespace varelo::test
