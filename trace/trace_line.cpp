#include "trace/trace_line.h"

#include "serial/open_failure.h"
#include "trace/device_names.h"

#include <filesystem>

namespace varelo {

TraceLine::TraceLine(Setup setup, Handlers handlers) : setup_(std::move(setup)), handlers_(std::move(handlers)) {
    retryTimer_.setInterval(kRetryMilliseconds);
    QObject::connect(&retryTimer_, &QTimer::timeout, [this] { retry(); });
    modemTimer_.setInterval(kModemPollMilliseconds);
    QObject::connect(&modemTimer_, &QTimer::timeout, [this] { pollModem(); });
}

TraceLine::~TraceLine() { close(); }

std::optional<std::string> TraceLine::open() {
    std::unique_ptr<SerialDevice> device = setup_.open(setup_.path);
    if (!device) return OpenFailureReason(setup_.path);
    stableName_ = StableDeviceName(setup_.path);
    if (!start(std::move(device))) {
        device_.reset();
        return "the device refused the line settings " + SettingString(setup_.format);
    }
    return std::nullopt;
}

void TraceLine::pull() {
    if (device_) device_->inputWaiting();
}

bool TraceLine::write(const std::string& bytes) {
    if (!device_) return false;
    const std::optional<std::uint32_t> written = device_->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return written && *written == bytes.size();
}

void TraceLine::close() {
    retryTimer_.stop();
    modemTimer_.stop();
    device_.reset();
}

bool TraceLine::start(std::unique_ptr<SerialDevice> device) {
    device_ = std::move(device);
    if (!device_->setLine(DeviceControlFor(setup_.format))) return false;
    device_->takeBlocks({handlers_.block, [this] {
                             // Told from inside the device's read: let it return before it goes.
                             const KernelStamp when = KernelStampNow();
                             QTimer::singleShot(0, &retryTimer_, [this, when] { lose("the device has gone", when); });
                         }});
    modem_.reset();
    modemUnknownSaid_ = false;
    if (setup_.watchModem) {
        // The first look once the run is under way, so that its outputs see it.
        QTimer::singleShot(0, &modemTimer_, [this] { pollModem(); });
        modemTimer_.start();
    }
    return true;
}

void TraceLine::lose(std::string reason, KernelStamp when) {
    if (!device_) return;
    modemTimer_.stop();
    device_.reset();
    handlers_.event(LineEvent{setup_.index, when, LineEvent::Kind::Lost, 0, std::move(reason)});
    if (setup_.reconnect) retryTimer_.start();
}

void TraceLine::retry() {
    // The stable name first: the adapter may be back under another number.
    std::string path = setup_.path;
    if (!stableName_.empty() && std::filesystem::exists(stableName_)) path = stableName_;
    std::unique_ptr<SerialDevice> device = setup_.open(path);
    if (!device) return;
    if (!start(std::move(device))) {
        device_.reset();
        return;
    }
    retryTimer_.stop();
    std::error_code error;
    const std::string real = std::filesystem::canonical(path, error).string();
    handlers_.event(LineEvent{setup_.index, KernelStampNow(), LineEvent::Kind::Back, 0,
                              error || real == path ? path : path + " (" + real + ")"});
}

void TraceLine::pollModem() {
    if (!device_) return;
    const std::optional<TModemLines> lines = device_->modemLines();
    if (!lines) {
        if (!modemUnknownSaid_) handlers_.event(LineEvent{setup_.index, KernelStampNow(), LineEvent::Kind::ModemUnknown, 0, {}});
        modemUnknownSaid_ = true;
        return;
    }
    std::uint8_t bits = 0;
    if ((*lines)[mlCTS]) bits |= kModemCts;
    if ((*lines)[mlDSR]) bits |= kModemDsr;
    if ((*lines)[mlRLSD]) bits |= kModemDcd;
    if ((*lines)[mlRING]) bits |= kModemRi;
    if (modem_ == bits) return;
    modem_ = bits;
    handlers_.event(LineEvent{setup_.index, KernelStampNow(), LineEvent::Kind::ModemLines, bits, {}});
}

}  // namespace varelo
