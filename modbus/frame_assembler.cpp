#include "modbus/frame_assembler.h"

#include <algorithm>
#include <string_view>

#include "modbus/hex_text.h"
#include "modbus/modbus_frame.h"

namespace varelo {
namespace {

constexpr std::size_t kMaxRtuFrame = 256;
constexpr std::size_t kMaxAsciiFrame = 513;  // ':', 255 bytes as digits, CR LF
// Interleavings are looked for in telegrams no longer than two frames of a
// few registers.
constexpr std::size_t kMaxCollisionBytes = 64;

bool crcRight(std::string_view frame) {
    if (frame.size() < 4) return false;
    const std::string crc = ModbusCrc16(frame.substr(0, frame.size() - 2));
    return frame.substr(frame.size() - 2) == crc;
}

// The lengths a frame starting with `head` may have (0: not known from it).
struct Lengths {
    std::size_t request, answer;
};
Lengths anyLengthsOf(std::string_view head) {
    return {RtuFrameLength(head, FrameRole::Request), RtuFrameLength(head, FrameRole::Answer)};
}

// Two frames whose bytes went out at once and came in byte by byte in turn:
// the first frame from the first byte, the second from byte `j`, then one byte
// each, until one of them is whole (its length as its function gives it, and a
// right check); the rest belongs to the other. Both must be whole at the end.
class InterleaveSearch {
  public:
    explicit InterleaveSearch(std::string_view bytes) : bytes_(bytes) {}

    bool run() {
        if (bytes_.size() < 8 || bytes_.size() > kMaxCollisionBytes) return false;
        for (std::size_t j = 1; j + 1 < bytes_.size(); ++j)
            if (tryFrom(j)) return true;
        return false;
    }
    const std::string& first() const { return a_; }
    const std::string& second() const { return b_; }

  private:
    static bool whole(const std::string& s) {
        const Lengths l = anyLengthsOf(s);
        return (s.size() == l.request || s.size() == l.answer) && crcRight(s);
    }

    bool tryFrom(std::size_t j) {
        a_.assign(bytes_.substr(0, j));
        b_.assign(1, bytes_[j]);
        bool aWhole = whole(a_), bWhole = false;
        if (aWhole) return false;  // then the second frame only follows the first
        bool toA = true;
        for (std::size_t i = j + 1; i < bytes_.size(); ++i) {
            if (aWhole && bWhole) return false;
            const bool intoA = bWhole || (!aWhole && toA);
            std::string& s = intoA ? a_ : b_;
            s += bytes_[i];
            (intoA ? aWhole : bWhole) = whole(s);
            toA = !toA;
        }
        return aWhole && bWhole;
    }

    std::string_view bytes_;
    std::string a_, b_;
};

}  // namespace

void FrameAssembler::Buffer::append(const TimedTelegram& t) {
    segments.push_back({bytes.size(), t.bytes.size(), t.startUs, t.endUs});
    bytes += t.bytes;
}

std::int64_t FrameAssembler::Buffer::timeOf(std::size_t offset, bool end) const {
    for (const Segment& s : segments) {
        if (offset >= s.offset + s.size) continue;
        const std::size_t into = offset - s.offset + (end ? 1 : 0);
        if ((into == 0 && !end) || s.size == 0) return s.startUs;
        if (end && into == s.size) return s.endUs;
        return s.startUs + (s.endUs - s.startUs) * static_cast<std::int64_t>(into) / static_cast<std::int64_t>(s.size);
    }
    return lastUs();
}

FrameAssembler::FrameAssembler(TelegramFraming framing, std::int64_t pieceWaitUs)
    : framing_(framing), pieceWaitUs_(pieceWaitUs) {}

FrameAssembler::Lengths FrameAssembler::lengthsOf(std::string_view head) const {
    const auto any = anyLengthsOf(head);
    if (expected_ && head.size() >= 2 && static_cast<std::uint8_t>(head[0]) == expected_->first &&
        (static_cast<std::uint8_t>(head[1]) & 0x7F) == expected_->second) {
        return {any.answer, any.answer};
    }
    return {any.request, any.answer};
}

void FrameAssembler::emit(const Buffer& buffer, std::size_t from, std::size_t to, bool backToBack,
                          std::vector<AssembledFrame>& out) const {
    AssembledFrame f;
    f.bytes = buffer.bytes.substr(from, to - from);
    f.startUs = buffer.timeOf(from, false);
    f.endUs = buffer.timeOf(to - 1, true);
    f.backToBack = backToBack;
    for (const Segment& s : buffer.segments)
        if (s.offset < to && s.offset + s.size > from && s.offset > from) ++f.pieces;
    f.frame = DecodeTelegram(f.bytes, framing_);
    if (framing_ == TelegramFraming::Rtu && f.frame.problem == FrameProblem::BadCheck && mayGrow(f.bytes)) {
        // Not a wrong check but a frame cut short: its function wants more bytes.
        const Lengths l = lengthsOf(f.bytes);
        const std::size_t wanted = std::max(l.request, l.answer);
        f.frame.problem = FrameProblem::TooShort;
        f.frame.detail = std::to_string(f.bytes.size()) + " bytes, cut short" +
                         (wanted > f.bytes.size() ? " of the " + std::to_string(wanted) + " its function has" : "");
    } else if (framing_ == TelegramFraming::Rtu && f.frame.problem == FrameProblem::BadCheck) {
        InterleaveSearch search(f.bytes);
        if (search.run()) {
            f.frame.problem = FrameProblem::Collision;
            f.frame.detail = "two frames interleaved: " + HexBytesText(search.first(), true) + " and " + HexBytesText(search.second(), true);
        }
    }
    if (f.frame.problem == FrameProblem::TooShort || f.frame.problem == FrameProblem::Collision)
        f.frame.framingProblem = f.frame.problem;
    out.push_back(std::move(f));
}

bool FrameAssembler::mayGrow(std::string_view head) const {
    if (framing_ == TelegramFraming::Ascii) return head[0] == ':' && head.size() < kMaxAsciiFrame;
    if (head.size() < 2) return true;
    const Lengths l = lengthsOf(head);
    if (l.request == head.size() || l.answer == head.size()) return false;
    auto grows = [&](std::size_t length) { return length > head.size() && length <= kMaxRtuFrame; };
    return grows(l.request) || grows(l.answer) || (head.size() < 3 && (l.request == 0 || l.answer == 0));
}

void FrameAssembler::cutRtu(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const {
    const std::string_view all = buffer.bytes;
    std::size_t p = 0;
    while (p < all.size()) {
        const std::string_view rest = all.substr(p);
        if (crcRight(rest)) {
            emit(buffer, p, all.size(), p > 0, out);
            p = all.size();
            break;
        }
        // Any whole frame with a right check is cut out, whatever it is taken for.
        const auto l = anyLengthsOf(rest);
        std::size_t taken = 0;
        for (const std::size_t length : {l.request, l.answer}) {
            if (length >= 4 && length < rest.size() && crcRight(rest.substr(0, length))) {
                taken = length;
                break;
            }
        }
        if (taken != 0) {
            emit(buffer, p, p + taken, p > 0, out);
            p += taken;
            continue;
        }
        if (mayGrow(rest)) break;
        emit(buffer, p, all.size(), p > 0, out);
        p = all.size();
    }
    used = p;
}

void FrameAssembler::cutAscii(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const {
    const std::string_view all = buffer.bytes;
    std::size_t p = 0;
    while (p < all.size()) {
        const std::size_t crlf = all.find("\r\n", p);
        const std::size_t colon = all.find(':', p + 1);
        const std::size_t frameEnd = crlf == std::string_view::npos ? crlf : crlf + 2;
        if (frameEnd != std::string_view::npos && (colon == std::string_view::npos || crlf < colon)) {
            emit(buffer, p, frameEnd, p > 0, out);  // a frame, or what ends in CR LF without one
            p = frameEnd;
        } else if (colon != std::string_view::npos) {
            emit(buffer, p, colon, p > 0, out);  // cut short by the next frame's ':'
            p = colon;
        } else if (mayGrow(all.substr(p))) {
            break;
        } else {
            emit(buffer, p, all.size(), p > 0, out);
            p = all.size();
        }
    }
    used = p;
}

void FrameAssembler::cut(const Buffer& buffer, std::vector<AssembledFrame>& out, std::size_t& used) const {
    if (framing_ == TelegramFraming::Rtu)
        cutRtu(buffer, out, used);
    else
        cutAscii(buffer, out, used);
}

void FrameAssembler::keepRest(const Buffer& buffer, std::size_t used) {
    Buffer rest;
    for (const Segment& s : buffer.segments) {
        if (s.offset + s.size <= used) continue;
        const std::size_t skip = used > s.offset ? used - s.offset : 0;
        const std::int64_t start = buffer.timeOf(s.offset + skip, false);
        rest.segments.push_back({rest.bytes.size(), s.size - skip, start, s.endUs});
        rest.bytes.append(buffer.bytes, s.offset + skip, s.size - skip);
    }
    waiting_ = std::move(rest);
}

void FrameAssembler::feed(const TimedTelegram& telegram, std::vector<AssembledFrame>& out) {
    if (telegram.bytes.empty()) return;
    if (!waiting_.bytes.empty() && telegram.startUs - waiting_.lastUs() > pieceWaitUs_) flush(out);

    Buffer alone;
    alone.append(telegram);
    if (waiting_.bytes.empty()) {
        std::size_t used = 0;
        cut(alone, out, used);
        keepRest(alone, used);
        return;
    }

    // A piece is waiting: the new bytes complete it, or start afresh.
    Buffer joined = waiting_;
    joined.append(telegram);
    std::vector<AssembledFrame> asJoined;
    std::size_t joinedUsed = 0;
    cut(joined, asJoined, joinedUsed);
    std::vector<AssembledFrame> asAlone;
    std::size_t aloneUsed = 0;
    cut(alone, asAlone, aloneUsed);

    const bool joinedWhole = !asJoined.empty() && asJoined[0].bytes.size() > waiting_.bytes.size() &&
                             (asJoined[0].frame.valid() || asJoined[0].frame.problem == FrameProblem::BadCheck);
    const bool aloneStartsWhole = !asAlone.empty() && asAlone[0].frame.valid();
    if (asJoined.empty() || (joinedWhole && !(aloneStartsWhole && !asJoined[0].frame.valid()))) {
        for (AssembledFrame& f : asJoined) out.push_back(std::move(f));
        keepRest(joined, joinedUsed);
        return;
    }
    flush(out);
    for (AssembledFrame& f : asAlone) out.push_back(std::move(f));
    keepRest(alone, aloneUsed);
}

void FrameAssembler::expire(std::int64_t nowUs, std::vector<AssembledFrame>& out) {
    if (!waiting_.bytes.empty() && nowUs - waiting_.lastUs() > pieceWaitUs_) flush(out);
}

std::optional<std::int64_t> FrameAssembler::deadline() const {
    if (waiting_.bytes.empty()) return std::nullopt;
    return waiting_.lastUs() + pieceWaitUs_ + 1;
}

void FrameAssembler::flush(std::vector<AssembledFrame>& out) {
    if (waiting_.bytes.empty()) return;
    emit(waiting_, 0, waiting_.bytes.size(), false, out);
    waiting_.clear();
}

}  // namespace varelo
