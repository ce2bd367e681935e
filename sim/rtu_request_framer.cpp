#include "sim/rtu_request_framer.h"

#include <algorithm>

#include "modbus/modbus_frame.h"

namespace varelo {

namespace {

// The standard's longest RTU frame.
constexpr std::size_t kMaxFrame = 256;

bool checkIsRight(const std::string& frame) {
    if (frame.size() < 4) return false;
    return ModbusCrc16(frame.substr(0, frame.size() - 2)) == frame.substr(frame.size() - 2);
}

// Whether a request for this function, starting at `start`, would end at the
// end of the buffer. Function 8 comes both bare (station and function, as our
// own master sends it) and with a sub-function and data, as the standard has it.
bool requestEndsAtEnd(const std::string& buffer, std::size_t start) {
    const std::size_t length = buffer.size() - start;
    const int function = static_cast<unsigned char>(buffer[start + 1]);
    if (function >= 1 && function <= 6) return length == 8;  // address and quantity or value
    if (function == 7 || function == 11 || function == 12 || function == 17) return length == 4;
    if (function == 8) return length == 4 || length == 8;
    if (function == 15 || function == 16)  // address, quantity, then a byte count and that many bytes
        return length >= 9 && length == 9u + static_cast<unsigned char>(buffer[start + 6]);
    return false;
}

}  // namespace

SimDuration RtuSilence(int baud) {
    using namespace std::chrono;
    const auto characters = duration_cast<SimDuration>(duration<double>(3.5 * 11.0 / std::max(baud, 1)));
    return std::max<SimDuration>(characters, milliseconds(4));
}

RtuRequestFramer::RtuRequestFramer(SimDuration silence) : silence_(silence) {}

void RtuRequestFramer::reset() {
    buffer_.clear();
    overflowed_ = false;
}

std::optional<SimInstant> RtuRequestFramer::silenceEnds() const {
    if (buffer_.empty() && !overflowed_) return std::nullopt;
    return lastByte_ + silence_;
}

std::optional<std::string> RtuRequestFramer::push(char byte, SimInstant now) {
    lastByte_ = now;
    if (overflowed_) return std::nullopt;
    buffer_ += byte;
    if (buffer_.size() > kMaxFrame) {
        buffer_.clear();
        overflowed_ = true;
        return std::nullopt;
    }
    std::optional<std::string> message = wholeFrameEndingHere();
    if (message) buffer_.clear();
    return message;
}

std::optional<std::string> RtuRequestFramer::wholeFrameEndingHere() const {
    for (std::size_t start = 0; start + 4 <= buffer_.size(); ++start) {
        if (!requestEndsAtEnd(buffer_, start)) continue;
        const std::string frame = buffer_.substr(start);
        if (checkIsRight(frame)) return frame.substr(0, frame.size() - 2);
    }
    return std::nullopt;
}

std::optional<std::string> RtuRequestFramer::expire(SimInstant now) {
    const std::optional<SimInstant> end = silenceEnds();
    if (!end || now < *end) return std::nullopt;
    std::optional<std::string> message;
    if (!overflowed_ && checkIsRight(buffer_)) message = buffer_.substr(0, buffer_.size() - 2);
    reset();
    return message;
}

}  // namespace varelo
