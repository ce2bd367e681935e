#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "modbus/modbus_decode.h"

namespace varelo {

// Bytes as one line delivered them, framed by silence, with their stamps in
// microseconds (any one clock).
struct TimedTelegram {
    std::string bytes;
    std::int64_t startUs = 0;
    std::int64_t endUs = 0;
};

// One MODBUS frame cut out of the line's telegrams, decoded.
struct AssembledFrame {
    std::string bytes;
    std::int64_t startUs = 0;
    std::int64_t endUs = 0;
    int pieces = 1;           // telegrams it was joined from (an answer sent in pieces)
    bool backToBack = false;  // followed the frame before it with no silence in between
    DecodedFrame frame;
};

// Turns one line's telegrams into frames. Silence does not always fall where
// frames end: an echo and its answer can come with no silence between them,
// and a slow device or adapter sends one answer in pieces. So a telegram that
// is no frame as a whole is cut into the whole frames it holds, back to back,
// each with a right check at the length its function gives; and a piece too
// short for the frame it begins waits for the pieces that complete it, up to
// `pieceWaitUs` after its last byte. In ASCII the frames delimit themselves:
// ':' to CR LF.
//
// A telegram with a wrong check that is two frames' bytes interleaved, each
// with a right check, is a collision.
class FrameAssembler {
  public:
    FrameAssembler(TelegramFraming framing, std::int64_t pieceWaitUs);

    // The station and function of the request that waits for its answer: a
    // frame of theirs is measured as an answer only (a cut answer can be as
    // long as a whole request).
    void expectAnswer(std::optional<std::pair<std::uint8_t, std::uint8_t>> stationFunction) {
        expected_ = stationFunction;
    }

    // The frames that are whole once `telegram` has come, in order.
    void feed(const TimedTelegram& telegram, std::vector<AssembledFrame>& out);

    // A piece waiting since before `nowUs - pieceWaitUs` goes out as it is.
    void expire(std::int64_t nowUs, std::vector<AssembledFrame>& out);

    // When a waiting piece will be given up.
    std::optional<std::int64_t> deadline() const;

    // Everything waiting, as it is (the end of a run).
    void flush(std::vector<AssembledFrame>& out);

  private:
    // The bytes waiting, and where each telegram of them began, for stamping
    // the frames cut out of them.
    struct Segment {
        std::size_t offset;
        std::size_t size;
        std::int64_t startUs, endUs;
    };
    struct Buffer {
        std::string bytes;
        std::vector<Segment> segments;
        void clear() {
            bytes.clear();
            segments.clear();
        }
        void append(const TimedTelegram& t);
        std::int64_t timeOf(std::size_t offset, bool end) const;
        std::int64_t lastUs() const { return segments.empty() ? 0 : segments.back().endUs; }
    };

    // Cuts `buffer` into frames; what may still grow stays in `rest` (when allowed).
    void cutRtu(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const;
    void cutAscii(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const;
    void cut(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const;
    bool mayGrow(std::string_view head) const;
    void emit(const Buffer& buffer, std::size_t from, std::size_t to, bool backToBack,
              std::vector<AssembledFrame>& out) const;
    void keepRest(const Buffer& buffer, std::size_t used);

    struct Lengths {
        std::size_t request, answer;
    };
    Lengths lengthsOf(std::string_view head) const;

    TelegramFraming framing_;
    std::int64_t pieceWaitUs_;
    std::optional<std::pair<std::uint8_t, std::uint8_t>> expected_;
    Buffer waiting_;
};

}  // namespace varelo
