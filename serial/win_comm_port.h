#pragma once

// A COM port opened for exclusive use, with the staging reader: one overlapped
// ReadFile is always waiting on the port, so received bytes leave the driver as soon
// as they arrive; whoever watches readEvent() calls collectRead() when it is set, and
// every query collects too. Writes are queued and handed to the driver by an
// overlapped WriteFile, so no call waits for the line; whoever watches writeEvent()
// calls collectWrite() when it is set. No Qt here.
#include <windows.h>

#include "serial/byte_ring.h"
#include "serial/device_control.h"
#include "serial/serial_enums.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varelo {

class WinCommPort {
  public:
    // Opens the path ("\\.\COMn", or any other device path) with no sharing; nullptr
    // when it cannot be had (absent, or another program holds it).
    static std::unique_ptr<WinCommPort> Open(const std::string& path, std::size_t stagingBytes);
    ~WinCommPort();
    WinCommPort(const WinCommPort&) = delete;
    WinCommPort& operator=(const WinCommPort&) = delete;

    bool setLine(const DeviceControl& dc);
    bool purge(bool input, bool output);
    bool setQueueSizes(std::uint32_t input, std::uint32_t output);

    std::uint32_t inputWaiting();
    std::uint32_t outputWaiting();
    std::optional<TModemLines> modemLines();

    std::uint32_t read(void* data, std::uint32_t size);
    std::optional<std::uint32_t> write(const void* data, std::uint32_t size);

    // Set while a finished read waits to be collected.
    HANDLE readEvent() const { return readOv_.hEvent; }
    // Moves a finished read into the staging buffer and starts the next one; the
    // count of bytes moved.
    std::size_t collectRead();
    // Set when the write in flight has finished; collectWrite() then hands the driver
    // the bytes queued behind it.
    HANDLE writeEvent() const { return writeOv_.hEvent; }
    void collectWrite();
    // True once the port has failed for good (the device went away).
    bool failed() const { return failed_; }
    // The open port, for reading its state back.
    HANDLE handle() const { return handle_; }

  private:
    WinCommPort(HANDLE handle, std::size_t stagingBytes);
    void startRead();
    void cancelRead();
    void startWrite();

    HANDLE handle_;
    ByteRing staging_;
    std::vector<std::uint8_t> chunk_;  // what the waiting read fills
    OVERLAPPED readOv_{};
    bool readPending_ = false;
    OVERLAPPED writeOv_{};
    bool writePending_ = false;
    std::vector<std::uint8_t> inFlight_;  // handed to the driver, stays put until done
    std::vector<std::uint8_t> queued_;    // waiting for the write in flight
    std::uint32_t outputCapacity_ = 4096;
    bool failed_ = false;
};

}  // namespace varelo
