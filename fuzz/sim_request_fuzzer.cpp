// The simulator's request reader fed an arbitrary byte stream, cut at arbitrary
// points and times, with silences in between; and clean requests in both framings
// fed to a fresh reader in arbitrary pieces. Every request it reports must be one
// that really came, whole, with a right check; a clean request must come out,
// however it is cut, unless a shorter frame with a right check hides inside it.
//
// Input: the line rate (first byte), then a script of operations:
//   op % 4 = 0, 1  feed the next n bytes (n = next byte) after a pause of next byte x 100 us
//            2     a pause of next byte x 100 us without bytes, then expire()
//            3     a clean request on a fresh reader: next byte picks the framing (bit 0) and
//                  the function (the rest), n = next byte message bytes after station and
//                  function, sent in pieces of 1 + (next byte % 16) bytes within the silence

#include "fuzz/fuzz_input.h"
#include "sim/modbus_request_reader.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace varelo::fuzz {
namespace {

using std::chrono::microseconds;

constexpr std::array<int, 6> kRates{1200, 9600, 19200, 38400, 115200, 921600};
// Functions of every kind: fixed request lengths, 8 with both lengths, the
// counted writes 15 and 16, and codes whose frames only a silence ends.
constexpr std::array<std::uint8_t, 16> kFunctions{1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 15, 16, 17, 20, 43, 0x83};

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// The request as it went on the line: a framed message matches the bytes received
// (hexadecimal digits of either case for ASCII).
bool cameWhole(const ModbusRequest& request, const std::string& received) {
    const std::string framed = FrameModbusMessage(request.message, request.framing);
    if (request.framing == ModbusFraming::Rtu) return received.find(framed) != std::string::npos;
    return upperCase(received).find(framed) != std::string::npos;
}

void checkRequests(const std::vector<ModbusRequest>& requests, const std::string& received) {
    for (const ModbusRequest& request : requests) {
        // Station and function at least; no more than the longest frame holds.
        FUZZ_CHECK(request.message.size() >= 2 && request.message.size() <= 254);
        FUZZ_CHECK(cameWhole(request, received));
    }
}

class Stream {
  public:
    explicit Stream(int rate) : silence_(RtuSilence(rate)), reader_(silence_) {}

    void feed(const std::string& bytes, microseconds pause) {
        now_ += pause;
        received_ += bytes;
        if (!bytes.empty()) lastByte_ = now_;
        checkRequests(reader_.feed(bytes, now_), received_);
        checkDeadline();
    }

    void expire(microseconds pause) {
        now_ += pause;
        checkRequests(reader_.expire(now_), received_);
        checkDeadline();
        // Once the silence has passed, nothing is left waiting for it.
        if (now_ >= lastByte_ + silence_) FUZZ_CHECK(!reader_.nextDeadline());
    }

  private:
    // The silence runs from the last byte received.
    void checkDeadline() {
        if (const auto deadline = reader_.nextDeadline()) FUZZ_CHECK(*deadline == lastByte_ + silence_);
    }

    SimDuration silence_;
    ModbusRequestReader reader_;
    SimInstant now_{};
    SimInstant lastByte_{};
    std::string received_;
};

void checkCleanRequest(const std::string& message, ModbusFraming framing, int rate, FuzzInput& in) {
    const SimDuration silence = RtuSilence(rate);
    const std::string frame = FrameModbusMessage(message, framing);
    ModbusRequestReader reader(silence);
    SimInstant now{};
    std::vector<ModbusRequest> requests;
    for (std::size_t sent = 0; sent < frame.size();) {
        const std::size_t piece = std::min<std::size_t>(1 + in.byte() % 16, frame.size() - sent);
        for (ModbusRequest& r : reader.feed(frame.substr(sent, piece), now)) requests.push_back(std::move(r));
        sent += piece;
        now += silence / 2;
    }
    for (ModbusRequest& r : reader.expire(now + silence)) requests.push_back(std::move(r));

    if (requests.size() == 1 && requests[0].framing == framing && requests[0].message == message) return;
    // Otherwise only a shorter frame inside this one, taken first, may explain it.
    FUZZ_CHECK(!requests.empty());
    for (const ModbusRequest& r : requests) {
        FUZZ_CHECK(FrameModbusMessage(r.message, r.framing).size() < frame.size() && cameWhole(r, frame));
    }
}

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo;
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    const int rate = kRates[in.byte() % kRates.size()];
    Stream stream(rate);
    while (!in.empty()) {
        switch (in.byte() % 4) {
            case 2:
                stream.expire(microseconds(100 * in.byte()));
                break;
            case 3: {
                const std::uint8_t pick = in.byte();
                const ModbusFraming framing = (pick & 1) ? ModbusFraming::Ascii : ModbusFraming::Rtu;
                std::string message{static_cast<char>(in.byte()),
                                    static_cast<char>(kFunctions[(pick >> 1) % 16])};
                message += in.bytes(std::min<std::size_t>(in.byte(), 252));
                checkCleanRequest(message, framing, rate, in);
                break;
            }
            default: {
                const std::string bytes = in.bytes(in.byte());
                stream.feed(bytes, microseconds(100 * in.byte()));
                break;
            }
        }
    }
    return 0;
}
