#include "sim/output_queue.h"

#include <algorithm>

namespace varelo {

OutputQueue::OutputQueue(OutputPacing pacing) : pacing_(pacing) {}

void OutputQueue::insert(Piece piece) {
    const auto after = std::upper_bound(pieces_.begin(), pieces_.end(), piece.due,
                                        [](SimInstant due, const Piece& p) { return due < p.due; });
    pieces_.insert(after, std::move(piece));
}

void OutputQueue::sendNow(std::string bytes, SimInstant now) {
    if (!bytes.empty()) insert({now, std::move(bytes)});
}

void OutputQueue::sendPaced(const std::string& bytes, SimInstant now) {
    if (bytes.empty()) return;
    const std::size_t pieceSize = pacing_.pieceSize == 0 ? bytes.size() : pacing_.pieceSize;
    SimInstant due = std::max(now + pacing_.delay, pacedFree_);
    for (std::size_t start = 0; start < bytes.size(); start += pieceSize) {
        if (start > 0) due += pacing_.pieceGap;
        insert({due, bytes.substr(start, pieceSize)});
    }
    pacedFree_ = due;
}

std::string OutputQueue::takeDue(SimInstant now) {
    std::string due;
    while (!pieces_.empty() && pieces_.front().due <= now) {
        due += pieces_.front().bytes;
        pieces_.pop_front();
    }
    return due;
}

std::optional<SimInstant> OutputQueue::nextDue() const {
    if (pieces_.empty()) return std::nullopt;
    return pieces_.front().due;
}

std::size_t OutputQueue::pendingBytes() const {
    std::size_t total = 0;
    for (const Piece& piece : pieces_) total += piece.bytes.size();
    return total;
}

}  // namespace varelo
