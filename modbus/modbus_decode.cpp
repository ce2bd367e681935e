#include "modbus/modbus_decode.h"

#include "modbus/hex_text.h"
#include "modbus/modbus_frame.h"

namespace varelo {
namespace {

// The standard's longest RTU frame, and the most data bytes a read answer
// may carry (125 registers or 2000 bits).
constexpr std::size_t kMaxRtuFrame = 256;
constexpr std::size_t kMaxReadBytes = 250;

std::uint8_t at(std::string_view m, std::size_t i) {
    return static_cast<std::uint8_t>(m[i]);
}
std::uint16_t word(std::string_view m, std::size_t i) {
    return static_cast<std::uint16_t>(at(m, i) << 8 | at(m, i + 1));
}

std::string num(std::size_t n) {
    return std::to_string(n);
}

// The outcome of one layout: how far it got, for choosing the problem worth
// telling when neither layout fits.
// Its words are put together only when they are shown: most frames fail one
// of the two layouts they are tried with.
struct Fit {
    FrameProblem problem = FrameProblem::None;
    const char* pattern = "";  // '%': the next number; '@': `what`
    std::size_t numbers[3] = {0, 0, 0};
    const char* what = "";
    std::string detail() const {
        std::string text;
        int next = 0;
        for (const char* c = pattern; *c; ++c) {
            if (*c == '%') text += std::to_string(numbers[next++ % 3]);
            else if (*c == '@') text += what;
            else text += *c;
        }
        return text;
    }
    int rank() const {
        switch (problem) {
            case FrameProblem::None: return 3;
            case FrameProblem::TooLong: return 2;
            case FrameProblem::CountMismatch: return 1;
            default: return 0;
        }
    }
};

Fit fail(FrameProblem problem, const char* pattern, std::size_t a = 0, std::size_t b = 0, std::size_t c = 0,
         const char* what = "") {
    return {problem, pattern, {a, b, c}, what};
}

Fit lengthIs(std::size_t n, std::size_t wanted, const char* what) {
    if (n == wanted) return {};
    return fail(FrameProblem::UnknownLayout, "@ has % bytes before the check, not %", wanted, n, 0, what);
}

void clearFields(DecodedFrame& f) {
    static_cast<FrameFields&>(f) = FrameFields{};
}

void setData(DecodedFrame& f, std::size_t offset) {
    f.dataOffset = offset;
    f.dataSize = f.message.size() - offset;
}

void setAddressCount(DecodedFrame& f) {
    f.hasAddress = f.hasCount = true;
    f.address = word(f.message, 2);
    f.count = word(f.message, 4);
}

// A byte count at `at` followed by exactly that many bytes.
Fit countedData(DecodedFrame& f, std::size_t countAt, const char* what) {
    const std::string_view m = f.message;
    if (m.size() <= countAt) return fail(FrameProblem::UnknownLayout, "@ has no byte count", 0, 0, 0, what);
    const std::size_t count = at(m, countAt);
    const std::size_t follow = m.size() - countAt - 1;
    if (count != follow)
        return fail(FrameProblem::CountMismatch, "byte count % but % bytes follow", count, follow);
    setData(f, countAt + 1);
    return {};
}

Fit layRequest(DecodedFrame& f) {
    const std::string_view m = f.message;
    const std::size_t n = m.size();
    switch (f.function) {
        case 1:
        case 2:
        case 3:
        case 4:
            if (Fit fit = lengthIs(n, 6, "a read request"); fit.rank() < 3) return fit;
            setAddressCount(f);
            return {};
        case 5:
        case 6:
            if (Fit fit = lengthIs(n, 6, "a single write"); fit.rank() < 3) return fit;
            f.hasAddress = f.hasValue = true;
            f.address = word(m, 2);
            f.value = word(m, 4);
            setData(f, 4);
            return {};
        case 7:
        case 11:
        case 12:
        case 17:
            return lengthIs(n, 2, "this request");
        case 8:
            // Bare (station and function, as Varelo's own master sends it) or with a
            // sub-function and its data, as the standard has it.
            if (n == 2) return {};
            if (n < 6) return fail(FrameProblem::UnknownLayout, "a diagnostics request has 2 or at least 6 bytes");
            f.hasValue = true;
            f.value = word(m, 2);
            setData(f, 4);
            return {};
        case 15:
        case 16: {
            if (n < 7) return fail(FrameProblem::UnknownLayout, "a multiple write has at least 7 bytes before the check");
            setAddressCount(f);
            if (Fit fit = countedData(f, 6, "a multiple write"); fit.rank() < 3) return fit;
            const std::size_t needed = f.function == 15 ? (f.count + 7u) / 8u : 2u * f.count;
            if (f.dataSize != needed)
                return fail(FrameProblem::CountMismatch, "quantity % needs % bytes, the byte count says %", f.count,
                            needed, f.dataSize);
            return {};
        }
        case 22:
            if (Fit fit = lengthIs(n, 8, "a mask write"); fit.rank() < 3) return fit;
            f.hasAddress = true;
            f.address = word(m, 2);
            setData(f, 4);  // AND mask, OR mask
            return {};
        case 23: {
            if (n < 11) return fail(FrameProblem::UnknownLayout, "a read/write request has at least 11 bytes before the check");
            setAddressCount(f);
            f.hasWrite = true;
            f.writeAddress = word(m, 6);
            f.writeCount = word(m, 8);
            if (Fit fit = countedData(f, 10, "a read/write request"); fit.rank() < 3) return fit;
            if (f.dataSize != 2u * f.writeCount)
                return fail(FrameProblem::CountMismatch, "write quantity % needs % bytes, the byte count says %",
                            f.writeCount, 2u * f.writeCount, f.dataSize);
            return {};
        }
        case 43:
            if (n < 3) return fail(FrameProblem::UnknownLayout, "an encapsulated request has a MEI type");
            f.hasValue = true;
            f.value = at(m, 2);
            if (f.value == 0x0E && n != 5)
                return fail(FrameProblem::UnknownLayout, "a device identification request has 5 bytes before the check");
            setData(f, 3);
            return {};
        default:
            setData(f, 2);
            return {};
    }
}

Fit layAnswer(DecodedFrame& f) {
    const std::string_view m = f.message;
    const std::size_t n = m.size();
    switch (f.function) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 23: {
            if (n >= 3 && at(m, 2) == 0) return fail(FrameProblem::UnknownLayout, "a read answer without data");
            if (Fit fit = countedData(f, 2, "a read answer"); fit.rank() < 3) return fit;
            if (f.dataSize > kMaxReadBytes)
                return fail(FrameProblem::TooLong, "% data bytes, more than any request allows (%)", f.dataSize,
                            kMaxReadBytes);
            const bool registers = f.function >= 3;
            if (registers && f.dataSize % 2 != 0)
                return fail(FrameProblem::CountMismatch, "an odd byte count (%) for registers", f.dataSize);
            f.hasCount = true;
            f.count = static_cast<std::uint16_t>(registers ? f.dataSize / 2 : f.dataSize * 8);
            return {};
        }
        case 12:
        case 17:
            return countedData(f, 2, "this answer");
        case 5:
        case 6:
        case 8:
        case 22: {
            Fit fit = layRequest(f);  // a copy of the request
            if (f.function == 8 && n == 2) return fail(FrameProblem::UnknownLayout, "a diagnostics answer has a sub-function");
            return fit;
        }
        case 7:
            if (Fit fit = lengthIs(n, 3, "an exception status answer"); fit.rank() < 3) return fit;
            f.hasValue = true;
            f.value = at(m, 2);
            return {};
        case 11:
            if (Fit fit = lengthIs(n, 6, "an event counter answer"); fit.rank() < 3) return fit;
            f.hasValue = f.hasCount = true;
            f.value = word(m, 2);  // status
            f.count = word(m, 4);  // events
            return {};
        case 15:
        case 16:
            if (Fit fit = lengthIs(n, 6, "a multiple write answer"); fit.rank() < 3) return fit;
            setAddressCount(f);
            return {};
        case 43:
            if (n < 3) return fail(FrameProblem::UnknownLayout, "an encapsulated answer has a MEI type");
            f.hasValue = true;
            f.value = at(m, 2);
            // A device identification answer: code, conformity, more, next object, object count, objects.
            if (f.value == 0x0E && n < 8)
                return fail(FrameProblem::UnknownLayout, "a device identification answer has at least 8 bytes");
            setData(f, 3);
            return {};
        default:
            setData(f, 2);
            return {};
    }
}

Fit layException(DecodedFrame& f) {
    if (Fit fit = lengthIs(f.message.size(), 3, "an exception"); fit.rank() < 3) return fit;
    f.exceptionCode = at(f.message, 2);
    return {};
}

bool knownFunction(int function) {
    return (function >= 1 && function <= 8) || function == 11 || function == 12 || function == 15 ||
           function == 16 || function == 17 || function == 22 || function == 23 || function == 43;
}

// A layout's problem counts only where the framing and the check had none.
void apply(DecodedFrame& f, const Fit& fit) {
    if (fit.problem == FrameProblem::None || f.problem != FrameProblem::None) return;
    f.problem = fit.problem;
    f.detail = fit.detail();
}

// Station and function taken; the layout chosen by the hint or by what fits.
void layOut(DecodedFrame& f, RoleHint hint) {
    const std::uint8_t code = at(f.message, 1);
    if (code & 0x80) {
        f.function = code & 0x7F;
        f.role = FrameRole::Exception;
        apply(f, layException(f));
        return;
    }
    f.function = code;
    if (!knownFunction(code)) {
        f.role = FrameRole::Unknown;
        setData(f, 2);
        return;
    }
    if (hint != RoleHint::Any) {
        f.role = hint == RoleHint::Request ? FrameRole::Request : FrameRole::Answer;
        apply(f, f.role == FrameRole::Request ? layRequest(f) : layAnswer(f));
        return;
    }
    const Fit answer = layAnswer(f);
    const FrameFields answerFields = f;
    clearFields(f);
    const Fit request = layRequest(f);
    if (request.rank() == 3 && answer.rank() == 3) {
        f.role = FrameRole::Either;
    } else if (request.rank() == 3) {
        f.role = FrameRole::Request;
    } else if (answer.rank() > request.rank() || answer.rank() == 3) {
        static_cast<FrameFields&>(f) = answerFields;
        f.role = FrameRole::Answer;
        apply(f, answer);
    } else {
        f.role = FrameRole::Request;
        apply(f, request);
    }
}

std::string hex4(unsigned value, int digits) {
    std::string text;
    AppendHexNumber(text, value, digits);
    return text;
}

// Checks and unwraps an RTU frame: false when there is nothing to lay out.
bool unwrapRtu(std::string_view bytes, DecodedFrame& f) {
    if (bytes.size() < 4) {
        f.problem = FrameProblem::TooShort;
        f.detail = num(bytes.size()) + " bytes, a frame has at least 4";
        f.message.assign(bytes.substr(0, bytes.size() < 2 ? bytes.size() : 2));
        return false;
    }
    f.message.assign(bytes.substr(0, bytes.size() - 2));
    const std::string crc = ModbusCrc16(f.message);
    f.check.expected = static_cast<std::uint16_t>(static_cast<unsigned char>(crc[0]) |
                                                  static_cast<unsigned char>(crc[1]) << 8);
    f.check.received = static_cast<std::uint16_t>(at(bytes, bytes.size() - 2) | at(bytes, bytes.size() - 1) << 8);
    f.check.right = f.check.expected == f.check.received;
    if (bytes.size() > kMaxRtuFrame) {
        f.problem = FrameProblem::TooLong;
        f.detail = num(bytes.size()) + " bytes, a frame has at most " + num(kMaxRtuFrame);
    } else if (!f.check.right) {
        f.problem = FrameProblem::BadCheck;
        f.detail = "CRC " + hex4(f.check.received, 4) + ", expected " + hex4(f.check.expected, 4);
    }
    return true;
}

bool unwrapAscii(std::string_view bytes, DecodedFrame& f) {
    auto refuse = [&](FrameProblem problem, std::string detail) {
        f.problem = problem;
        f.detail = std::move(detail);
        return false;
    };
    if (bytes.empty() || bytes[0] != ':') return refuse(FrameProblem::NoColon, "does not start with ':'");
    if (bytes.size() < 3 || bytes.substr(bytes.size() - 2) != "\r\n")
        return refuse(FrameProblem::NoCrLf, "does not end with CR LF");
    const std::string_view digits = bytes.substr(1, bytes.size() - 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (HexDigitValue(digits[i]) < 0)
            return refuse(FrameProblem::NotHex, "character " + num(i + 1) + " is no hexadecimal digit");
    }
    if (digits.size() % 2 != 0) return refuse(FrameProblem::OddDigits, num(digits.size()) + " digits, an odd number");
    std::string decoded;
    decoded.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2)
        decoded += static_cast<char>(HexDigitValue(digits[i]) << 4 |
                                     HexDigitValue(digits[i + 1]));
    if (decoded.size() < 3) {
        f.message = decoded.substr(0, 1);  // the station; the rest may be the LRC
        return refuse(FrameProblem::TooShort, num(decoded.size()) + " bytes, a frame has at least 3");
    }
    f.check.received = static_cast<unsigned char>(decoded.back());
    decoded.pop_back();
    f.message = std::move(decoded);
    f.check.expected = static_cast<unsigned char>(ModbusLrc(f.message)[0]);
    f.check.right = f.check.expected == f.check.received;
    if (!f.check.right) {
        f.problem = FrameProblem::BadCheck;
        f.detail = "LRC " + hex4(f.check.received, 2) + ", expected " + hex4(f.check.expected, 2);
    }
    return true;
}

}  // namespace

DecodedFrame DecodeTelegram(std::string_view bytes, TelegramFraming framing, RoleHint hint) {
    DecodedFrame f;
    f.framing = framing;
    const bool unwrapped = framing == TelegramFraming::Rtu ? unwrapRtu(bytes, f) : unwrapAscii(bytes, f);
    if (f.message.size() >= 1) f.station = at(f.message, 0);
    if (f.message.size() >= 2) f.function = at(f.message, 1) & 0x7F;
    f.framingProblem = f.problem;
    if (!unwrapped || f.message.size() < 2) return f;
    layOut(f, hint);
    return f;
}

bool LayOutAs(DecodedFrame& frame, FrameRole role) {
    if (frame.message.size() < 2) return false;
    clearFields(frame);
    if (frame.problem != frame.framingProblem) {
        frame.problem = frame.framingProblem;
        frame.detail.clear();
    }
    layOut(frame, role == FrameRole::Request ? RoleHint::Request : RoleHint::Answer);
    return frame.problem == frame.framingProblem;
}

std::string FunctionName(int function) {
    switch (function) {
        case 1: return "read coils";
        case 2: return "read discrete inputs";
        case 3: return "read holding registers";
        case 4: return "read input registers";
        case 5: return "write single coil";
        case 6: return "write single register";
        case 7: return "read exception status";
        case 8: return "diagnostics";
        case 11: return "get comm event counter";
        case 12: return "get comm event log";
        case 15: return "write multiple coils";
        case 16: return "write multiple registers";
        case 17: return "report slave id";
        case 22: return "mask write register";
        case 23: return "read/write multiple registers";
        case 43: return "encapsulated interface";
        default: return "function " + std::to_string(function);
    }
}

std::string ExceptionName(int code) {
    switch (code) {
        case 1: return "illegal function";
        case 2: return "illegal data address";
        case 3: return "illegal data value";
        case 4: return "slave device failure";
        case 5: return "acknowledge";
        case 6: return "slave device busy";
        case 7: return "negative acknowledge";
        case 8: return "memory parity error";
        case 10: return "gateway path unavailable";
        case 11: return "gateway target failed";
        default: return "exception " + std::to_string(code);
    }
}

const char* ProblemKey(FrameProblem problem) {
    switch (problem) {
        case FrameProblem::None: return "none";
        case FrameProblem::TooShort: return "too-short";
        case FrameProblem::TooLong: return "too-long";
        case FrameProblem::BadCheck: return "bad-check";
        case FrameProblem::NoColon: return "no-colon";
        case FrameProblem::NoCrLf: return "no-cr-lf";
        case FrameProblem::NotHex: return "not-hex";
        case FrameProblem::OddDigits: return "odd-digits";
        case FrameProblem::CountMismatch: return "count-mismatch";
        case FrameProblem::UnknownLayout: return "unknown-layout";
        case FrameProblem::Collision: return "collision";
    }
    return "none";
}

bool AnswerCopiesRequest(int function) {
    return function == 5 || function == 6 || function == 8 || function == 22;
}

std::size_t RtuFrameLength(std::string_view head, FrameRole role) {
    if (head.size() < 2) return 0;
    const std::uint8_t code = at(head, 1);
    const bool answer = role == FrameRole::Answer || role == FrameRole::Exception;
    if (code & 0x80) return answer ? 5 : 0;
    auto counted = [&](std::size_t countAt, std::size_t extra) -> std::size_t {
        return head.size() > countAt ? countAt + 1 + at(head, countAt) + extra : 0;
    };
    switch (code) {
        case 1:
        case 2:
        case 3:
        case 4:
            return answer ? counted(2, 2) : 8;
        case 5:
        case 6:
            return 8;
        case 7:
            return answer ? 5 : 4;
        case 8:
            return 8;  // the sub-function form; the bare request is whole at 4
        case 11:
            return answer ? 8 : 4;
        case 12:
        case 17:
            return answer ? counted(2, 2) : 4;
        case 15:
        case 16:
            return answer ? 8 : counted(6, 2);
        case 22:
            return 10;
        case 23:
            return answer ? counted(2, 2) : counted(10, 2);
        case 43:
            return answer ? 0 : (head.size() > 2 && at(head, 2) == 0x0E ? 7 : 0);
        default:
            return 0;
    }
}

}  // namespace varelo
