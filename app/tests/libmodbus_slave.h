#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace varelo::test {

// An independent MODBUS RTU slave (libmodbus) serving one station on a device
// path from its own thread, with holding registers 0 to 127. It answers as
// libmodbus does, function 17 included (its own identification).
//
// libmodbus takes the frame that follows a request for another station as that
// station's answer and waits for it up to its response time-out; the time-out
// is set short here so that a poll of several stations finds it listening again.
class LibmodbusSlave {
  public:
    using Registers = std::array<std::uint16_t, 128>;

    LibmodbusSlave(const std::string& path, int station, const Registers& holding);
    ~LibmodbusSlave();
    LibmodbusSlave(const LibmodbusSlave&) = delete;
    LibmodbusSlave& operator=(const LibmodbusSlave&) = delete;

    // The device was opened and the slave serves.
    bool serving() const { return serving_; }
    // Requests answered so far.
    int answered() const { return answered_; }

  private:
    void serve(const std::string& path, int station, const Registers& holding);

    std::atomic<bool> serving_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<int> answered_{0};
    std::atomic<bool> started_{false};
    std::thread thread_;
};

}  // namespace varelo::test
