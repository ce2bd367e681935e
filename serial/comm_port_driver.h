#pragma once

#include "platform/clock.h"
#include "serial/device_control.h"
#include "serial/serial_device.h"
#include "serial/serial_enums.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varelo {

class TCommPortDriver;

// Received bytes, valid only during the call: the next tick reuses the buffer.
using TReceiveDataEvent =
    std::function<void(TCommPortDriver& sender, const std::uint8_t* data, std::uint32_t size)>;
using TReceivePacketEvent =
    std::function<void(TCommPortDriver& sender, const std::uint8_t* packet, std::uint32_t size)>;

// One serial port: opens its device by path, writes all line settings in one step,
// polls the input queue from a timer on the thread that owns it and hands each
// batch to an event, and writes blocks with a no-progress time-out. It has no
// thread of its own and never waits for input. While the line is quiet and the
// device can say when bytes come in, the timer rests; the first tick after an
// arrival falls where the unbroken period would have put it.
//
// Setters never fail: out-of-range values are limited or ignored. While the port
// is open, the port and buffer sizes cannot change, and a change of line settings
// is applied at once (which empties both queues).
class TCommPortDriver : public QObject {
    Q_OBJECT
  public:
    // An empty factory opens real ttys.
    explicit TCommPortDriver(QObject* owner = nullptr, SerialDeviceFactory deviceFactory = {},
                             const TickClock& clock = systemTickClock());
    ~TCommPortDriver() override;

    TPortNumber Port() const { return port_; }
    void SetPort(TPortNumber port);
    const std::string& PortName() const { return portName_; }
    void SetPortName(const std::string& name);

    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    std::uint32_t BaudRateValue() const { return line_.baudRateValue; }
    void SetBaudRateValue(std::uint32_t bitsPerSecond);
    TDataBits DataBits() const { return line_.dataBits; }
    void SetDataBits(TDataBits bits);
    TStopBits StopBits() const { return line_.stopBits; }
    void SetStopBits(TStopBits bits);
    TParity Parity() const { return line_.parity; }
    void SetParity(TParity parity);
    THwFlowControl HwFlow() const { return line_.hwFlow; }
    void SetHwFlow(THwFlowControl flow);
    TSwFlowControl SwFlow() const { return line_.swFlow; }
    void SetSwFlow(TSwFlowControl flow);

    std::uint32_t InBufSize() const { return line_.inBufSize; }
    void SetInBufSize(std::uint32_t size);
    std::uint32_t OutBufSize() const { return outBufSize_; }
    void SetOutBufSize(std::uint32_t size);

    std::int16_t PacketSize() const { return packetSize_; }
    void SetPacketSize(std::int16_t size);
    std::int32_t PacketTimeout() const { return packetTimeout_; }
    void SetPacketTimeout(std::int32_t ms);
    TPacketMode PacketMode() const { return packetMode_; }
    void SetPacketMode(TPacketMode mode);

    std::uint16_t PollingDelay() const { return pollingDelay_; }
    void SetPollingDelay(std::uint16_t ms);
    bool EnableDTROnOpen() const { return line_.enableDtrOnOpen; }
    void SetEnableDTROnOpen(bool on);
    std::uint16_t OutputTimeout() const { return outputTimeout_; }
    void SetOutputTimeout(std::uint16_t ms);
    std::uint32_t InputTimeout() const { return inputTimeout_; }
    void SetInputTimeout(std::uint32_t ms);
    bool CheckLineStatus() const { return checkLineStatus_; }
    void SetCheckLineStatus(bool on);

    void SetOnReceiveData(TReceiveDataEvent handler) { onReceiveData_ = std::move(handler); }
    void SetOnReceivePacket(TReceivePacketEvent handler) { onReceivePacket_ = std::move(handler); }

    // The line settings as they stand, and so the device control values the next
    // apply writes: BuildDeviceControl(CurrentLineSettings()).
    const LineSettings& CurrentLineSettings() const { return line_; }

    // Opens the device, applies the settings and starts polling; true when open
    // afterwards. On an open driver it does nothing else.
    bool Connect();
    void Disconnect();
    bool Connected() const { return device_ != nullptr; }
    // True while the poll timer runs; on a quiet line it rests until bytes come in.
    bool Polling() const { return pollTimer_.isActive(); }

    // Writes all line settings to the open device and empties both queues.
    bool ApplySettings();
    bool PurgeBuffers(bool inBuf, bool outBuf);
    TModemLines GetModemLines();
    // OutBufSize less what waits in the output queue (never below 0); 65535 when closed.
    std::uint16_t OutputFreeSpace();

    // Writes the block, giving up after timeoutMs without progress; the count written.
    std::uint32_t SendDataWithTimeout(const void* data, std::uint32_t size, std::uint32_t timeoutMs);
    std::uint32_t SendData(const void* data, std::uint32_t size);
    // True when every byte of s was written; an empty s is always true.
    bool SendString(const std::string& s);

    // One polling period's work: delivers the bytes waiting when it begins.
    void PollingTick();

    // Milliseconds to send chars characters of 10 bits at the rate; 0 for brCustom.
    static std::int32_t PacketDuration(TBaudRate rate, std::int32_t chars);

  private:
    void applyIfOpen();
    // Stores one of the line's enumerated settings; a value beyond the last member is ignored.
    template <typename Choice>
    void setLineChoice(Choice& setting, Choice value, Choice last);
    void deliverStream(std::uint32_t waiting);
    void deliverPackets(std::uint32_t waiting);
    std::uint32_t readIntoRxBuffer(std::uint32_t size);
    void inputArrived();
    void startPolling();

    SerialDeviceFactory deviceFactory_;
    const TickClock* clock_;
    std::unique_ptr<SerialDevice> device_;
    QTimer pollTimer_;

    TPortNumber port_ = pnCOM2;
    std::string portName_ = "\\\\.\\COM2";
    TBaudRate baudRate_ = br9600;
    LineSettings line_;
    std::uint32_t outBufSize_ = 2048;
    std::int16_t packetSize_ = -1;
    std::int32_t packetTimeout_ = -1;
    TPacketMode packetMode_ = pmDiscard;
    TReceiveDataEvent onReceiveData_;
    TReceivePacketEvent onReceivePacket_;
    std::uint16_t pollingDelay_ = 50;
    std::uint16_t outputTimeout_ = 500;
    std::uint32_t inputTimeout_ = 200;
    bool checkLineStatus_ = false;

    std::vector<std::uint8_t> rxBuffer_;
    std::optional<std::uint32_t> packetStart_;  // tick at which the pending partial packet began
    bool inTick_ = false;
    bool deviceWatchesInput_ = false;  // the poll timer may rest while nothing waits
    std::uint32_t periodOrigin_ = 0;   // a tick of the period's grid
};

}  // namespace varelo
