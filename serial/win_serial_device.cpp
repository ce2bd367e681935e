#include "serial/win_serial_device.h"

#include "serial/win_comm_port.h"

#include <QWinEventNotifier>

namespace varelo {
namespace {

class WinSerialDevice final : public SerialDevice {
  public:
    explicit WinSerialDevice(std::unique_ptr<WinCommPort> port)
        : port_(std::move(port)), readNotifier_(port_->readEvent()), writeNotifier_(port_->writeEvent()) {
        QObject::connect(&readNotifier_, &QWinEventNotifier::activated, [this] { readFinished(); });
        QObject::connect(&writeNotifier_, &QWinEventNotifier::activated, [this] { writeFinished(); });
    }
    ~WinSerialDevice() override {
        readNotifier_.setEnabled(false);
        writeNotifier_.setEnabled(false);
    }

    bool setLine(const DeviceControl& dc) override { return port_->setLine(dc); }
    bool purge(bool input, bool output) override { return port_->purge(input, output); }
    bool setQueueSizes(std::uint32_t input, std::uint32_t output) override {
        return port_->setQueueSizes(input, output);
    }
    std::uint32_t inputWaiting() override { return port_->inputWaiting(); }
    std::uint32_t outputWaiting() override { return port_->outputWaiting(); }
    std::optional<TModemLines> modemLines() override { return port_->modemLines(); }
    std::uint32_t read(void* data, std::uint32_t size) override { return port_->read(data, size); }
    std::optional<std::uint32_t> write(const void* data, std::uint32_t size) override {
        return port_->write(data, size);
    }
    bool watchInput(std::function<void()> arrived) override {
        arrived_ = std::move(arrived);
        return true;
    }

  private:
    void readFinished() {
        // The event stays set until the next read starts, which collecting does; a
        // port that has failed has no next read, so stop watching it.
        const std::size_t moved = port_->collectRead();
        if (port_->failed()) readNotifier_.setEnabled(false);
        if (moved > 0 && arrived_) arrived_();
    }

    // Bytes queued behind a finished write go to the driver now, not at the next tick.
    void writeFinished() {
        port_->collectWrite();
        if (port_->failed()) writeNotifier_.setEnabled(false);
    }

    std::unique_ptr<WinCommPort> port_;
    QWinEventNotifier readNotifier_;
    QWinEventNotifier writeNotifier_;
    std::function<void()> arrived_;
};

}  // namespace

std::unique_ptr<SerialDevice> OpenWinSerialDevice(const std::string& path) {
    auto port = WinCommPort::Open(path, kSerialStagingBytes);
    if (!port) return nullptr;
    return std::make_unique<WinSerialDevice>(std::move(port));
}

}  // namespace varelo
