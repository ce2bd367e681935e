#pragma once

namespace varelo {

// SIGINT and SIGTERM made readable: while an instance lives, either signal
// makes fd() readable, so a poll() loop sees it with its other descriptors and
// ends cleanly, with no race between a check and the wait. One instance at a time.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int fd() const { return readEnd_; }

  private:
    int readEnd_ = -1;
};

}  // namespace varelo
