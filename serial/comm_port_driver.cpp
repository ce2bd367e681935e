#include "serial/comm_port_driver.h"

#include "serial/port_path.h"
#include "serial/system_serial_device.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace varelo {
namespace {

constexpr std::uint32_t kMinBufSize = 128;
constexpr std::uint32_t kMaxBufSize = 8192;
constexpr std::uint16_t kMinPollingDelay = 5;

}  // namespace

TCommPortDriver::TCommPortDriver(QObject* owner, SerialDeviceFactory deviceFactory, const TickClock& clock)
    : QObject(owner),
      deviceFactory_(deviceFactory ? std::move(deviceFactory) : SerialDeviceFactory(OpenSystemSerialDevice)),
      clock_(&clock),
      rxBuffer_(line_.inBufSize) {
    pollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer_, &QTimer::timeout, this, &TCommPortDriver::PollingTick);
}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
}

// --- Properties ---

// A line setting written while open takes effect at once; a refusal leaves the port open.
void TCommPortDriver::applyIfOpen() {
    if (Connected()) (void)ApplySettings();
}

template <typename Choice>
void TCommPortDriver::setLineChoice(Choice& setting, Choice value, Choice last) {
    if (value > last) return;
    setting = value;
    applyIfOpen();
}

void TCommPortDriver::SetPort(TPortNumber port) {
    if (Connected() || port > pnCOM16) return;
    port_ = port;
    if (port != pnCustom) portName_ = "\\\\.\\COM" + std::to_string(static_cast<int>(port));
}

void TCommPortDriver::SetPortName(const std::string& name) {
    if (Connected()) return;
    portName_ = name;
    port_ = pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate rate) {
    if (rate > br256000) return;
    baudRate_ = rate;
    if (rate != brCustom) line_.baudRateValue = BaudRateTableValue(rate);
    applyIfOpen();
}

void TCommPortDriver::SetBaudRateValue(std::uint32_t bitsPerSecond) {
    line_.baudRateValue = bitsPerSecond;
    baudRate_ = brCustom;
    applyIfOpen();
}

void TCommPortDriver::SetDataBits(TDataBits bits) {
    setLineChoice(line_.dataBits, bits, db8BITS);
}

void TCommPortDriver::SetStopBits(TStopBits bits) {
    setLineChoice(line_.stopBits, bits, sb2BITS);
}

void TCommPortDriver::SetParity(TParity parity) {
    setLineChoice(line_.parity, parity, ptSPACE);
}

void TCommPortDriver::SetHwFlow(THwFlowControl flow) {
    setLineChoice(line_.hwFlow, flow, hfRTSCTS);
}

void TCommPortDriver::SetSwFlow(TSwFlowControl flow) {
    setLineChoice(line_.swFlow, flow, sfXONXOFF);
}

void TCommPortDriver::SetInBufSize(std::uint32_t size) {
    if (Connected()) return;
    line_.inBufSize = std::clamp(size, kMinBufSize, kMaxBufSize);
    rxBuffer_ = std::vector<std::uint8_t>(line_.inBufSize);
    SetPacketSize(packetSize_);
}

void TCommPortDriver::SetOutBufSize(std::uint32_t size) {
    if (Connected()) return;
    outBufSize_ = std::clamp(size, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPacketSize(std::int16_t size) {
    if (size <= 0) {
        packetSize_ = -1;
        return;
    }
    const auto wanted = static_cast<std::uint32_t>(size);
    if (wanted > line_.inBufSize) SetInBufSize(wanted);
    // A packet is read into the receive buffer whole, so it can be no larger.
    packetSize_ = static_cast<std::int16_t>(std::min(wanted, line_.inBufSize));
}

void TCommPortDriver::SetPacketTimeout(std::int32_t ms) {
    if (ms <= 0)
        packetTimeout_ = -1;
    else if (ms < pollingDelay_)
        packetTimeout_ = pollingDelay_ + pollingDelay_ * 40 / 100;
    else
        packetTimeout_ = ms;
}

void TCommPortDriver::SetPacketMode(TPacketMode mode) {
    if (mode > pmPass) return;
    packetMode_ = mode;
}

void TCommPortDriver::SetPollingDelay(std::uint16_t ms) {
    ms = std::max(ms, kMinPollingDelay);
    if (ms == pollingDelay_) return;
    pollTimer_.stop();
    pollingDelay_ = ms;
    SetPacketTimeout(packetTimeout_);
    if (Connected()) startPolling();
}

void TCommPortDriver::SetEnableDTROnOpen(bool on) {
    line_.enableDtrOnOpen = on;
}
void TCommPortDriver::SetOutputTimeout(std::uint16_t ms) {
    outputTimeout_ = ms;
}
void TCommPortDriver::SetInputTimeout(std::uint32_t ms) {
    inputTimeout_ = ms;
}
void TCommPortDriver::SetCheckLineStatus(bool on) {
    checkLineStatus_ = on;
}

// --- Opening and closing ---

bool TCommPortDriver::Connect() {
    if (Connected()) return true;
    device_ = deviceFactory_(ResolvePortPath(portName_));
    if (!device_) return false;
    if (!ApplySettings()) {
        Disconnect();
        return false;
    }
    deviceWatchesInput_ = device_->watchInput([this] { inputArrived(); });
    startPolling();
    return true;
}

void TCommPortDriver::startPolling() {
    periodOrigin_ = clock_->ticks();
    pollTimer_.start(pollingDelay_);
}

// Wakes the resting poll timer. The tick keeps the phase of the period, so the
// ticks fall where they would have fallen had the timer never rested.
void TCommPortDriver::inputArrived() {
    if (!Connected() || pollTimer_.isActive()) return;
    const std::uint32_t intoPeriod = (clock_->ticks() - periodOrigin_) % pollingDelay_;
    pollTimer_.start(static_cast<int>(pollingDelay_ - intoPeriod));
}

void TCommPortDriver::Disconnect() {
    if (!Connected()) return;
    pollTimer_.stop();
    device_.reset();
}

bool TCommPortDriver::ApplySettings() {
    if (!Connected()) return false;
    if (!device_->setLine(BuildDeviceControl(line_))) return false;
    if (!PurgeBuffers(true, true)) return false;
    return device_->setQueueSizes(line_.inBufSize, outBufSize_);
}

bool TCommPortDriver::PurgeBuffers(bool inBuf, bool outBuf) {
    if (!Connected()) return false;
    const bool purged = device_->purge(inBuf, outBuf);
    if (purged) packetStart_.reset();
    return purged;
}

TModemLines TCommPortDriver::GetModemLines() {
    if (!Connected()) return {};
    return device_->modemLines().value_or(TModemLines{});
}

std::uint16_t TCommPortDriver::OutputFreeSpace() {
    if (!Connected()) return 0xFFFF;
    const std::uint32_t queued = device_->outputWaiting();
    return static_cast<std::uint16_t>(queued >= outBufSize_ ? 0 : outBufSize_ - queued);
}

// --- Sending ---

std::uint32_t TCommPortDriver::SendDataWithTimeout(const void* data, std::uint32_t size,
                                                   std::uint32_t timeoutMs) {
    if (!Connected()) return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::uint32_t sent = 0;
    std::uint32_t remaining = size;
    std::uint32_t mark = clock_->ticks();
    while (remaining > 0) {
        const std::uint16_t room = OutputFreeSpace();
        if (room > 0) {
            if (checkLineStatus_ && GetModemLines().none()) break;
            const std::optional<std::uint32_t> written =
                device_->write(bytes + sent, std::min<std::uint32_t>(remaining, room));
            if (!written) break;  // the device has failed: waiting cannot help
            if (*written > 0) {
                sent += *written;
                remaining -= *written;
                mark = clock_->ticks();
                continue;
            }
        }
        // The time-out counts from the last progress, not from the call.
        if (clock_->ticks() - mark > timeoutMs) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return sent;
}

std::uint32_t TCommPortDriver::SendData(const void* data, std::uint32_t size) {
    return SendDataWithTimeout(data, size, outputTimeout_);
}

bool TCommPortDriver::SendString(const std::string& s) {
    if (s.empty()) return true;
    return SendData(s.data(), static_cast<std::uint32_t>(s.size())) == s.size();
}

// --- Receiving ---

void TCommPortDriver::PollingTick() {
    // A handler that calls back into the tick would overwrite the bytes it was given.
    if (!Connected() || inTick_) return;
    struct TickScope {
        bool& flag;
        explicit TickScope(bool& f) : flag(f) { flag = true; }
        ~TickScope() { flag = false; }
    } scope(inTick_);
    const SerialDevice* device = device_.get();
    const std::uint32_t waiting = device_->inputWaiting();
    if (packetSize_ <= 0)
        deliverStream(waiting);
    else
        deliverPackets(waiting);
    if (device_.get() != device || !pollTimer_.isActive()) return;  // closed, or not timer-driven
    if (deviceWatchesInput_ && waiting == 0 && !packetStart_) {
        pollTimer_.stop();  // nothing to do until bytes come in
    } else if (pollTimer_.interval() != pollingDelay_) {
        // The first tick after a rest was the remainder of a period; the rest are whole.
        periodOrigin_ = clock_->ticks();
        pollTimer_.start(pollingDelay_);
    }
}

std::uint32_t TCommPortDriver::readIntoRxBuffer(std::uint32_t size) {
    return device_->read(rxBuffer_.data(), std::min<std::uint32_t>(size, line_.inBufSize));
}

// Everything that was waiting when the tick began, in pieces no larger than the
// receive buffer, one event each; without a handler the bytes are read and dropped.
void TCommPortDriver::deliverStream(std::uint32_t waiting) {
    const SerialDevice* device = device_.get();
    while (waiting > 0) {
        const std::uint32_t count = readIntoRxBuffer(waiting);
        if (count == 0) return;
        waiting -= std::min(count, waiting);
        if (onReceiveData_) onReceiveData_(*this, rxBuffer_.data(), count);
        if (device_.get() != device) return;  // the handler closed the port
    }
}

void TCommPortDriver::deliverPackets(std::uint32_t waiting) {
    const auto size = static_cast<std::uint32_t>(packetSize_);
    const SerialDevice* device = device_.get();
    if (waiting >= size) {
        // Each whole packet moves the pending start on by its own transmission time.
        while (waiting >= size) {
            const std::uint32_t count = readIntoRxBuffer(size);
            if (count > 0 && onReceivePacket_) onReceivePacket_(*this, rxBuffer_.data(), count);
            if (device_.get() != device) return;
            if (packetStart_) *packetStart_ += static_cast<std::uint32_t>(PacketDuration(baudRate_, size));
            waiting -= size;
            if (waiting == 0) packetStart_.reset();
        }
        // A remainder of packets that all came between two ticks begins now.
        if (waiting > 0 && !packetStart_) packetStart_ = clock_->ticks();
        return;
    }
    const std::uint32_t now = clock_->ticks();
    if (packetTimeout_ > 0 && packetStart_ &&
        now - *packetStart_ > static_cast<std::uint32_t>(packetTimeout_)) {
        packetStart_.reset();
        const std::uint32_t count = readIntoRxBuffer(waiting);
        if (packetMode_ == pmPass && count > 0 && onReceivePacket_)
            onReceivePacket_(*this, rxBuffer_.data(), count);
        return;
    }
    if (waiting > 0 && !packetStart_) packetStart_ = now;
}

std::int32_t TCommPortDriver::PacketDuration(TBaudRate rate, std::int32_t chars) {
    const std::uint32_t bitsPerSecond = BaudRateTableValue(rate);
    if (bitsPerSecond == 0) return 0;
    // The current rounding mode rounds half to even.
    const double ms = std::nearbyint(chars / (bitsPerSecond / 10.0) * 1000.0);
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(ms, lo, hi));
}

}  // namespace varelo
