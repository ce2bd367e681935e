#include "serial/win_comm_port.h"

#include "serial/win_comm_state.h"

#include <algorithm>
#include <cstring>

namespace varelo {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;
// A waiting read comes back empty after this long and is started again; the figure
// only bounds how long a read stays with the driver.
constexpr DWORD kReadWaitMs = 1000;

}  // namespace

std::unique_ptr<WinCommPort> WinCommPort::Open(const std::string& path, std::size_t stagingBytes) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    COMMTIMEOUTS timeouts = ReadAsBytesArriveTimeouts(kReadWaitMs);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    // Only a serial port takes a control block and time-outs.
    if (!::GetCommState(h, &dcb) || !::SetCommTimeouts(h, &timeouts)) {
        ::CloseHandle(h);
        return nullptr;
    }
    std::unique_ptr<WinCommPort> port(new WinCommPort(h, stagingBytes));
    if (!port->readOv_.hEvent || !port->writeOv_.hEvent) return nullptr;
    port->startRead();
    return port;
}

WinCommPort::WinCommPort(HANDLE handle, std::size_t stagingBytes)
    : handle_(handle), staging_(stagingBytes), chunk_(kChunkBytes) {
    readOv_.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    writeOv_.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

WinCommPort::~WinCommPort() {
    cancelRead();
    if (writePending_) {
        ::CancelIoEx(handle_, &writeOv_);
        DWORD n = 0;
        ::GetOverlappedResult(handle_, &writeOv_, &n, TRUE);
    }
    ::CloseHandle(handle_);
    if (readOv_.hEvent) ::CloseHandle(readOv_.hEvent);
    if (writeOv_.hEvent) ::CloseHandle(writeOv_.hEvent);
}

bool WinCommPort::setLine(const DeviceControl& dc) {
    if (dc.baudRate == 0) return false;
    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(handle_, &current)) return false;
    DCB wanted = DcbForDeviceControl(dc, current);
    return ::SetCommState(handle_, &wanted) != 0;
}

bool WinCommPort::purge(bool input, bool output) {
    if (!input && !output) return true;
    DWORD flags = 0;
    if (input) {
        // The waiting read is the first part of the input queue: it goes too.
        cancelRead();
        staging_.clear();
        flags |= PURGE_RXABORT | PURGE_RXCLEAR;
    }
    if (output) {
        queued_.clear();
        flags |= PURGE_TXABORT | PURGE_TXCLEAR;
    }
    const bool purged = ::PurgeComm(handle_, flags) != 0;
    if (output) collectWrite();
    if (input) startRead();
    return purged;
}

bool WinCommPort::setQueueSizes(std::uint32_t input, std::uint32_t output) {
    outputCapacity_ = std::max<std::uint32_t>(output, 1);
    return ::SetupComm(handle_, input, output) != 0;
}

std::uint32_t WinCommPort::inputWaiting() {
    collectRead();
    return static_cast<std::uint32_t>(staging_.size());
}

std::uint32_t WinCommPort::outputWaiting() {
    collectWrite();
    DWORD errors = 0;
    COMSTAT status{};
    const DWORD driverQueue = ::ClearCommError(handle_, &errors, &status) ? status.cbOutQue : 0;
    return static_cast<std::uint32_t>(inFlight_.size() + queued_.size()) + driverQueue;
}

std::optional<TModemLines> WinCommPort::modemLines() {
    DWORD status = 0;
    if (!::GetCommModemStatus(handle_, &status)) return std::nullopt;
    TModemLines lines;
    lines[mlCTS] = (status & MS_CTS_ON) != 0;
    lines[mlDSR] = (status & MS_DSR_ON) != 0;
    lines[mlRING] = (status & MS_RING_ON) != 0;
    lines[mlRLSD] = (status & MS_RLSD_ON) != 0;
    return lines;
}

std::uint32_t WinCommPort::read(void* data, std::uint32_t size) {
    collectRead();
    const auto count = static_cast<std::uint32_t>(staging_.take(data, size));
    if (!readPending_) startRead();  // room again after a full staging buffer
    return count;
}

std::optional<std::uint32_t> WinCommPort::write(const void* data, std::uint32_t size) {
    collectWrite();
    if (failed_) return std::nullopt;
    const std::size_t held = inFlight_.size() + queued_.size();
    const std::size_t room = held < outputCapacity_ ? outputCapacity_ - held : 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(size, room));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    queued_.insert(queued_.end(), bytes, bytes + count);
    if (!writePending_) startWrite();
    return failed_ ? std::nullopt : std::optional<std::uint32_t>(count);
}

std::size_t WinCommPort::collectRead() {
    // A read that finds bytes waiting finishes at once: take those too, up to one chunk.
    std::size_t moved = 0;
    while (readPending_ && moved < chunk_.size()) {
        DWORD n = 0;
        if (!::GetOverlappedResult(handle_, &readOv_, &n, FALSE)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_IO_INCOMPLETE) break;
            readPending_ = false;
            failed_ = error != ERROR_OPERATION_ABORTED;
            startRead();
            break;
        }
        readPending_ = false;
        // The read asked for no more than the staging buffer had room for.
        std::size_t stored = 0;
        while (stored < n) {
            const std::span<std::uint8_t> room = staging_.writable();
            const std::size_t part = std::min<std::size_t>(room.size(), n - stored);
            std::memcpy(room.data(), chunk_.data() + stored, part);
            staging_.commit(part);
            stored += part;
        }
        moved += n;
        startRead();
    }
    return moved;
}

void WinCommPort::startRead() {
    if (readPending_) return;
    // No read waiting, no event: a watcher is not woken again and again for nothing.
    ::ResetEvent(readOv_.hEvent);
    const std::size_t room = staging_.capacity() - staging_.size();
    // Full: the rest stays with the driver (and its flow control) until bytes are taken.
    if (failed_ || room == 0) return;
    // What the driver holds, or one byte when it holds none: a read of one byte waits
    // for the first to arrive, and a read of what is there returns at once, whatever
    // a driver makes of the "first byte" time-outs (wine waits for the whole count).
    DWORD errors = 0;
    COMSTAT status{};
    const std::size_t held = ::ClearCommError(handle_, &errors, &status) ? status.cbInQue : 0;
    const auto want = static_cast<DWORD>(std::min({room, chunk_.size(), std::max<std::size_t>(held, 1)}));
    readOv_.Offset = readOv_.OffsetHigh = 0;
    if (::ReadFile(handle_, chunk_.data(), want, nullptr, &readOv_) || ::GetLastError() == ERROR_IO_PENDING) {
        // Also when it finished at once: the event is set and the next collect takes it.
        readPending_ = true;
    } else {
        failed_ = true;
    }
}

void WinCommPort::cancelRead() {
    if (!readPending_) return;
    ::CancelIoEx(handle_, &readOv_);
    DWORD n = 0;
    ::GetOverlappedResult(handle_, &readOv_, &n, TRUE);
    readPending_ = false;
    ::ResetEvent(readOv_.hEvent);
}

void WinCommPort::collectWrite() {
    if (!writePending_) return;
    DWORD n = 0;
    if (!::GetOverlappedResult(handle_, &writeOv_, &n, FALSE)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return;
        writePending_ = false;
        if (error == ERROR_OPERATION_ABORTED) {
            inFlight_.clear();  // purged
        } else {
            failed_ = true;
            return;
        }
    } else {
        writePending_ = false;
        inFlight_.erase(inFlight_.begin(), inFlight_.begin() + std::min<std::size_t>(n, inFlight_.size()));
    }
    startWrite();
}

void WinCommPort::startWrite() {
    if (writePending_) return;
    ::ResetEvent(writeOv_.hEvent);
    if (failed_) return;
    if (inFlight_.empty()) inFlight_.swap(queued_);
    if (inFlight_.empty()) return;
    writeOv_.Offset = writeOv_.OffsetHigh = 0;
    if (::WriteFile(handle_, inFlight_.data(), static_cast<DWORD>(inFlight_.size()), nullptr, &writeOv_) ||
        ::GetLastError() == ERROR_IO_PENDING) {
        writePending_ = true;
    } else {
        failed_ = true;
    }
}

}  // namespace varelo
