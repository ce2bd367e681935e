#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace varelo::bench {

// A program the benchmark starts (the simulator, socat, Varelo itself, picocom):
// its standard output or error can be read line by line, and it is ended by its
// own process id when the object goes.
class ChildProcess {
  public:
    enum class Capture { None, Stdout, Stderr };

    // `environment` entries "NAME=value" are added to (or replace those of) the
    // benchmark's own environment.
    ChildProcess(const std::vector<std::string>& argv, Capture capture,
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    int pid() const { return pid_; }
    // The next line of the captured stream that contains `text`, or nullopt when
    // the time runs out or the stream ends first.
    std::optional<std::string> waitForLine(const std::string& text, std::chrono::milliseconds limit);
    // Asks it to end (SIGTERM), and kills it if it has not ended within `grace`.
    void end(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));
    // Waits for it to end by itself; false when it is still running after `limit`.
    bool waitForExit(std::chrono::milliseconds limit);

  private:
    int pid_ = -1;
    int output_ = -1;
    int input_ = -1;
    std::string pending_;
};

}  // namespace varelo::bench
