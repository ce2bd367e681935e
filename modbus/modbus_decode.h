#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace varelo {

enum class TelegramFraming { Rtu, Ascii };

// What a frame's layout makes of it. Some requests look exactly like their
// answers (functions 5, 6, 8 and 22 answer with a copy; a coil read of three
// bytes fits both ways): those are Either, and what came before decides.
// Unknown: a right check, but a function whose layout is not known.
enum class FrameRole { Request, Answer, Exception, Either, Unknown };

// Why a telegram is no valid frame.
enum class FrameProblem {
    None,
    TooShort,        // not even station, function and check
    TooLong,         // longer than any frame, or than any request allows as an answer
    BadCheck,        // CRC or LRC wrong; `check` holds the expected value
    NoColon,         // ASCII: does not start with ':'
    NoCrLf,          // ASCII: does not end with CR LF
    NotHex,          // ASCII: a character that is no hexadecimal digit
    OddDigits,       // ASCII: an odd number of digits
    CountMismatch,   // a byte count or quantity that does not match the length
    UnknownLayout,   // a known function, but a length neither its request nor its answer has
    Collision,       // the bytes of two frames interleaved
};

struct FrameCheck {
    bool right = false;
    std::uint16_t received = 0;  // RTU: the CRC as a number (its low byte goes first); ASCII: the LRC
    std::uint16_t expected = 0;
};

// What a layout puts where.
struct FrameFields {
    bool hasAddress = false;
    bool hasCount = false;
    bool hasValue = false;
    bool hasWrite = false;        // function 23: the write half
    std::uint16_t address = 0;    // first register or bit
    std::uint16_t count = 0;      // registers or bits read or written
    std::uint16_t value = 0;      // 5, 6: the value written; 8: the sub-function; 7: status; 43: the MEI type
    std::uint16_t writeAddress = 0;
    std::uint16_t writeCount = 0;
    std::uint8_t exceptionCode = 0;
    std::size_t dataOffset = 0;  // in `message`: the data carried (registers, bits, values written, text)
    std::size_t dataSize = 0;
};

// One telegram read as a MODBUS frame. Fields hold what the layout of `role`
// puts where; for an invalid frame as much as could be read.
struct DecodedFrame : FrameFields {
    FrameProblem problem = FrameProblem::None;
    std::string detail;   // the problem in words, with the numbers involved
    std::string message;  // station, function and data, without the check (ASCII: the digits' bytes)
    FrameCheck check;
    std::uint8_t station = 0;
    std::uint8_t function = 0;  // an exception's function without its high bit
    FrameRole role = FrameRole::Unknown;
    TelegramFraming framing = TelegramFraming::Rtu;
    FrameProblem framingProblem = FrameProblem::None;  // the part of `problem` that no layout changes

    bool valid() const { return problem == FrameProblem::None; }
    bool isAnswerSide() const { return role == FrameRole::Answer || role == FrameRole::Exception; }
    std::string_view data() const { return std::string_view(message).substr(dataOffset, dataSize); }
};

enum class RoleHint { Any, Request, Answer };

// Reads one telegram. Never reads past `bytes`; never fails: a telegram that is
// no frame comes back with its problem.
DecodedFrame DecodeTelegram(std::string_view bytes, TelegramFraming framing, RoleHint hint = RoleHint::Any);

// Lays the fields out again as a request or an answer (for an Either frame once
// the context has decided). False, with the problem set, when that layout does not fit.
bool LayOutAs(DecodedFrame& frame, FrameRole role);

// "read holding registers", ..., "function 9".
std::string FunctionName(int function);
// "illegal data address", ..., "exception 9".
std::string ExceptionName(int code);
// "bad-check", "too-short", ...: a short key for scripts.
const char* ProblemKey(FrameProblem problem);

// The functions whose answer repeats the request byte for byte.
bool AnswerCopiesRequest(int function);

// The length of the whole RTU frame (check included) that a frame starting with
// `head` would have, as a request or as an answer: 0 while `head` is too short
// to tell or the function has no known length that way.
std::size_t RtuFrameLength(std::string_view head, FrameRole role);

}  // namespace varelo
