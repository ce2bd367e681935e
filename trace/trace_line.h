#pragma once

#include "serial/serial_device.h"
#include "trace/line_format.h"
#include "trace/telegram.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace varelo {

// One line watched by varelo-trace: opened for exclusive use through the device
// layer and only read. Its blocks come out stamped by the device layer; when the
// device vanishes it says so and, unless told not to, opens it again when it is
// back, by its stable name where it has one.
class TraceLine {
  public:
    struct Handlers {
        std::function<void(KernelStamp, std::span<const std::uint8_t>)> block;
        std::function<void(const LineEvent&)> event;
    };
    struct Setup {
        int index = 0;
        std::string path;
        LineFormat format;
        bool watchModem = false;
        bool reconnect = true;
        SerialDeviceFactory open;
    };

    TraceLine(Setup setup, Handlers handlers);
    ~TraceLine();

    // Opens the line at start; nothing, or the reason it cannot be had.
    std::optional<std::string> open();
    // Has the device take what the kernel holds now, so that it is stamped before
    // the silence is judged.
    void pull();
    bool isOpen() const { return device_ != nullptr; }
    // Writes on the line (--send); false when the line is away or takes less.
    bool write(const std::string& bytes);
    void close();

    static constexpr int kRetryMilliseconds = 200;
    static constexpr int kModemPollMilliseconds = 10;

  private:
    bool start(std::unique_ptr<SerialDevice> device);
    void lose(std::string reason, KernelStamp when);
    void retry();
    void pollModem();

    Setup setup_;
    Handlers handlers_;
    std::string stableName_;
    std::unique_ptr<SerialDevice> device_;
    std::optional<std::uint8_t> modem_;
    bool modemUnknownSaid_ = false;
    QTimer retryTimer_;
    QTimer modemTimer_;
};

}  // namespace varelo
