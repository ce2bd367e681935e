#pragma once

#include "serial/device_control.h"
#include "serial/kernel_blocks.h"
#include "serial/serial_enums.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace varelo {

// One open serial device, as the port driver sees it. Every call returns at once
// with what could be done; closing is destroying the object.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    // Applies the line settings and the DTR/RTS levels; false when the device refuses them.
    virtual bool setLine(const DeviceControl& dc) = 0;
    // Empties the chosen queues (both false: nothing to do, and that succeeds).
    virtual bool purge(bool input, bool output) = 0;
    // Asks for queues of these sizes. A device may keep its own.
    virtual bool setQueueSizes(std::uint32_t input, std::uint32_t output) = 0;

    // Bytes received and not read yet; 0 when the device cannot tell.
    virtual std::uint32_t inputWaiting() = 0;
    // Bytes written and not sent yet; 0 when the device cannot tell.
    virtual std::uint32_t outputWaiting() = 0;
    // The modem status lines that are on, or nothing when the device cannot tell.
    virtual std::optional<TModemLines> modemLines() = 0;

    // Takes up to size received bytes; the count taken.
    virtual std::uint32_t read(void* data, std::uint32_t size) = 0;
    // Queues up to size bytes for sending without waiting: the count queued (0 when
    // there is no room now), or nothing when the device has failed for good.
    virtual std::optional<std::uint32_t> write(const void* data, std::uint32_t size) = 0;

    // Asks to be told, on the owner's thread, each time received bytes come in, so
    // that the owner need not ask while the line is quiet. False when the device
    // cannot tell: the owner must then keep asking.
    virtual bool watchInput(std::function<void()> arrived) {
        (void)arrived;
        return false;
    }

    // Hands every received block to the taker as it comes out of the kernel, instead
    // of keeping it for read(). False when the device cannot: the owner must read.
    virtual bool takeBlocks(KernelBlockTaker taker) {
        (void)taker;
        return false;
    }
};

// Opens the device at a path for exclusive use; nullptr when it cannot be had.
using SerialDeviceFactory = std::function<std::unique_ptr<SerialDevice>(const std::string& path)>;

}  // namespace varelo
