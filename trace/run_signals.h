#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace varelo {

// SIGINT and SIGTERM (and SIGUSR1, which asks for the statistics so far) turned into a call on the event loop, so that a run ends
// cleanly (outputs flushed, lines closed, lock files removed) rather than dying
// wherever the signal finds it. SIGPIPE is ignored: a closed output is a write
// error the run reports.
class RunSignals {
  public:
    explicit RunSignals(std::function<void(int signal)> stop);
    ~RunSignals();
    RunSignals(const RunSignals&) = delete;
    RunSignals& operator=(const RunSignals&) = delete;

    // Nothing, or why the signals cannot be watched.
    std::optional<std::string> start();

  private:
    std::function<void(int)> stop_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace varelo
