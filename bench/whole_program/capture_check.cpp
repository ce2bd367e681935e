#include "bench/whole_program/capture_check.h"

#include "bench/whole_program/line_feeder.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace varelo::bench {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads the capture character by character; the file can be large, so it is
// never held whole.
class CaptureParser {
  public:
    explicit CaptureParser(CaptureContent& out) : out_(out) {}

    void feed(char c) {
        switch (state_) {
            case State::LineEnd:
                expect(c == '\r', State::Lf);
                break;
            case State::Lf:
                expect(c == '\n', State::P);
                break;
            case State::P:
                expect(c == 'P', State::Digit);
                break;
            case State::Digit:
                port_ = c == '2' ? 1 : 0;
                expect(c == '1' || c == '2', State::Arrow1);
                break;
            case State::Arrow1:
                expect(c == '-', State::Arrow2);
                break;
            case State::Arrow2:
                if (expect(c == '>', State::Stamp)) {
                    ++out_.blocks;
                    stampLeft_ = 14;
                }
                break;
            case State::Stamp:
                if (--stampLeft_ == 0) state_ = State::Data;
                break;
            case State::Data:
                if (c == '(') {
                    state_ = State::High;
                } else if (c == '\r') {
                    state_ = State::Lf;
                } else {
                    ++out_.malformed;
                }
                break;
            case State::High:
                value_ = hexDigit(c) << 4;
                expect(hexDigit(c) >= 0, State::Low);
                break;
            case State::Low:
                value_ |= hexDigit(c);
                expect(hexDigit(c) >= 0, State::Close);
                break;
            case State::Close:
                if (expect(c == ')', State::Data)) {
                    const std::uint64_t at = out_.bytes[port_]++;
                    if (static_cast<std::uint8_t>(value_) != PatternByte(at)) ++out_.mismatches[port_];
                }
                break;
        }
    }

  private:
    enum class State { LineEnd, Lf, P, Digit, Arrow1, Arrow2, Stamp, Data, High, Low, Close };

    // A character out of place counts once and the reading resumes at the next block.
    bool expect(bool ok, State next) {
        if (ok) {
            state_ = next;
            return true;
        }
        ++out_.malformed;
        state_ = State::Data;
        return false;
    }

    CaptureContent& out_;
    State state_ = State::LineEnd;
    int port_ = 0;
    int stampLeft_ = 0;
    int value_ = 0;
};

}  // namespace

CaptureContent CheckCapture(const std::string& path) {
    CaptureContent content;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return content;
    content.readable = true;
    CaptureParser parser(content);
    std::vector<char> buffer(1 << 20);
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get())) {
        for (std::size_t i = 0; i < n; ++i) parser.feed(buffer[i]);
    }
    return content;
}

}  // namespace varelo::bench
