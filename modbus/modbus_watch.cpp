#include "modbus/modbus_watch.h"

#include <algorithm>

namespace varelo {
namespace {

std::string number(std::size_t n) {
    return std::to_string(n);
}

// What an answer says that its request did not ask for.
std::string answerNote(const FrameFields& request, const DecodedFrame& answer) {
    if (answer.role == FrameRole::Exception) return {};
    switch (answer.function) {
        case 1:
        case 2: {
            const std::size_t wanted = (request.count + 7u) / 8u;
            if (answer.dataSize != wanted)
                return "carries " + number(answer.dataSize) + " bytes, the request asked for " +
                       number(request.count) + " bits (" + number(wanted) + " bytes)";
            return {};
        }
        case 3:
        case 4:
        case 23:
            if (answer.dataSize != 2u * request.count)
                return "carries " + number(answer.dataSize / 2) + " registers, the request asked for " +
                       number(request.count);
            return {};
        case 5:
        case 6:
            if (answer.address != request.address || answer.value != request.value)
                return "does not repeat the request";
            return {};
        case 15:
        case 16:
            if (answer.address != request.address || answer.count != request.count)
                return "names address " + number(answer.address) + " count " + number(answer.count) +
                       ", the request wrote address " + number(request.address) + " count " + number(request.count);
            return {};
        default:
            return {};
    }
}

WatchEntry entryOf(int line, bool sent, AssembledFrame&& f) {
    WatchEntry e;
    e.line = line;
    e.sent = sent;
    e.startUs = f.startUs;
    e.endUs = f.endUs;
    e.bytes = std::move(f.bytes);
    e.frame = std::move(f.frame);
    e.pieces = f.pieces;
    e.backToBack = f.backToBack;
    return e;
}

}  // namespace

ModbusWatch::ModbusWatch(WatchOptions options)
    : options_(options),
      assemblers_{FrameAssembler(options.framing, options.timeoutUs), FrameAssembler(options.framing, options.timeoutUs)} {}

void ModbusWatch::receive(int line, const TimedTelegram& telegram) {
    line = line == 0 ? 0 : 1;
    scratch_.clear();
    FrameAssembler& assembler = assemblers_[static_cast<std::size_t>(line)];
    if (pending_) {
        assembler.expectAnswer(std::make_pair(pending_->station, pending_->function));
    } else {
        assembler.expectAnswer(std::nullopt);
    }
    assembler.feed(telegram, scratch_);
    for (AssembledFrame& f : scratch_) frameIn(line, false, std::move(f));
}

void ModbusWatch::sent(int line, const TimedTelegram& telegram) {
    line = line == 0 ? 0 : 1;
    AssembledFrame f;
    f.bytes = telegram.bytes;
    f.startUs = telegram.startUs;
    f.endUs = telegram.endUs;
    f.frame = DecodeTelegram(telegram.bytes, options_.framing, RoleHint::Request);
    frameIn(line, true, std::move(f));
}

void ModbusWatch::frameIn(int line, bool sent, AssembledFrame frame) {
    expireTimeout(frame.startUs);
    ++statistics_.frames;
    if (!sent && takeAsEcho(line, frame)) return;
    // A piece that waited from before the request says nothing about its echo.
    const std::optional<EchoWait>& wait = echoWait_[static_cast<std::size_t>(line)];
    if (!wait || frame.startUs >= wait->startUs) settleEcho(line);
    classify(line, sent, std::move(frame));
}

bool ModbusWatch::takeAsEcho(int line, const AssembledFrame& frame) {
    std::optional<EchoWait>& wait = echoWait_[static_cast<std::size_t>(line)];
    if (!wait || frame.bytes != wait->bytes) return false;
    const LineEcho known = lineEcho_[static_cast<std::size_t>(line)];
    bool echo = true;
    if (AnswerCopiesRequest(wait->function)) {
        echo = known == LineEcho::Echoes ||
               (known == LineEcho::Unknown && frame.startUs - wait->endUs <= options_.echoWindowUs);
    } else {
        lineEcho_[static_cast<std::size_t>(line)] = LineEcho::Echoes;
    }
    if (!echo) return false;
    if (WatchEntry* request = find(wait->id)) request->echoed = true;
    ++statistics_.echoes;
    markReady(wait->id);
    wait.reset();
    return true;
}

void ModbusWatch::settleEcho(int line) {
    std::optional<EchoWait>& wait = echoWait_[static_cast<std::size_t>(line)];
    if (!wait) return;
    if (!AnswerCopiesRequest(wait->function) && lineEcho_[static_cast<std::size_t>(line)] == LineEcho::Unknown)
        lineEcho_[static_cast<std::size_t>(line)] = LineEcho::NoEcho;
    markReady(wait->id);
    wait.reset();
}

void ModbusWatch::classify(int line, bool sent, AssembledFrame frame) {
    WatchEntry e = entryOf(line, sent, std::move(frame));
    if (!e.frame.valid()) return invalid(std::move(e));
    switch (e.frame.role) {
        case FrameRole::Request:
            return request(std::move(e));
        case FrameRole::Answer:
        case FrameRole::Exception:
            return answer(std::move(e));
        case FrameRole::Either:
        case FrameRole::Unknown:
            break;
    }
    const bool awaited = !sent && pending_ && pending_->station == e.frame.station &&
                         pending_->function == e.frame.function;
    if (awaited) {
        if (e.frame.role == FrameRole::Either) LayOutAs(e.frame, FrameRole::Answer);
        e.frame.role = FrameRole::Answer;
        return answer(std::move(e));
    }
    e.frame.role = FrameRole::Request;
    request(std::move(e));
}

void ModbusWatch::request(WatchEntry e) {
    e.kind = EntryKind::Request;
    if (pending_) timeOut(e.startUs);  // the master has moved on
    StationStatistics& s = statistics_.station(e.frame.station);
    ++s.requests;
    ++s.functions[e.frame.function];
    e.broadcast = e.frame.station == 0;
    const int line = e.line;
    const std::string bytes = e.bytes;
    const std::int64_t startUs = e.startUs;
    const std::int64_t endUs = e.endUs;
    const std::uint8_t station = e.frame.station, function = e.frame.function;
    const FrameFields fields = e.frame;
    WatchEntry& pushed = push(std::move(e), false);
    const std::uint64_t id = firstId_ + queue_.size() - 1;
    if (!pushed.broadcast) pending_ = Pending{id, station, function, fields, pushed.frame, endUs, line};
    echoWait_[static_cast<std::size_t>(line)] = EchoWait{id, bytes, startUs, endUs, function};
}

void ModbusWatch::answer(WatchEntry e) {
    StationStatistics& s = statistics_.station(e.frame.station);
    if (pending_ && pending_->station == e.frame.station && pending_->function == e.frame.function) {
        e.kind = e.frame.role == FrameRole::Exception ? EntryKind::Exception : EntryKind::Answer;
        e.paired = true;
        e.request = pending_->fields;
        e.requestEndUs = pending_->endUs;
        e.responseUs = std::max<std::int64_t>(e.startUs - pending_->endUs, 0);
        e.note = answerNote(pending_->fields, e.frame);
        ++s.answers;
        s.responseTimes.add(e.responseUs);
        if (e.kind == EntryKind::Exception) ++s.exceptions[e.frame.exceptionCode];
        pending_.reset();
    } else {
        e.kind = EntryKind::Orphan;
        ++s.orphans;
    }
    push(std::move(e), true);
}

void ModbusWatch::invalid(WatchEntry e) {
    e.kind = EntryKind::Invalid;
    ++statistics_.invalidFrames;
    if (e.frame.problem == FrameProblem::Collision) ++statistics_.collisions;
    if (e.frame.problem == FrameProblem::BadCheck && !e.frame.message.empty()) {
        ++statistics_.station(e.frame.station).checkErrors;
        // A wrong check on what would answer the waiting request ends the wait:
        // the answer came, damaged.
        if (!e.sent && pending_ && e.frame.message.size() >= 2 && pending_->station == e.frame.station &&
            pending_->function == e.frame.function) {
            e.paired = true;
            e.request = pending_->fields;
            e.requestEndUs = pending_->endUs;
            e.responseUs = std::max<std::int64_t>(e.startUs - pending_->endUs, 0);
            pending_.reset();
        }
    }
    push(std::move(e), true);
}

void ModbusWatch::timeOut(std::int64_t atUs) {
    WatchEntry e;
    e.kind = EntryKind::Timeout;
    atUs = std::max(atUs, pending_->endUs);
    e.line = pending_->line;
    e.startUs = e.endUs = atUs;
    e.frame = pending_->frame;
    e.paired = true;
    e.request = pending_->fields;
    e.requestEndUs = pending_->endUs;
    e.responseUs = atUs - pending_->endUs;
    ++statistics_.station(pending_->station).timeouts;
    pending_.reset();
    push(std::move(e), true);
}

void ModbusWatch::expireTimeout(std::int64_t nowUs) {
    if (pending_ && nowUs - pending_->endUs > options_.timeoutUs) timeOut(pending_->endUs + options_.timeoutUs);
}

void ModbusWatch::expire(std::int64_t nowUs) {
    for (std::size_t line = 0; line < 2; ++line) {
        scratch_.clear();
        assemblers_[line].expire(nowUs, scratch_);
        for (AssembledFrame& f : scratch_) frameIn(static_cast<int>(line), false, std::move(f));
    }
    for (std::size_t line = 0; line < 2; ++line) {
        if (echoWait_[line] && nowUs - echoWait_[line]->endUs > options_.echoWindowUs) settleEcho(static_cast<int>(line));
    }
    expireTimeout(nowUs);
}

void ModbusWatch::finish() {
    for (std::size_t line = 0; line < 2; ++line) {
        scratch_.clear();
        assemblers_[line].flush(scratch_);
        for (AssembledFrame& f : scratch_) frameIn(static_cast<int>(line), false, std::move(f));
    }
    for (std::size_t line = 0; line < 2; ++line) settleEcho(static_cast<int>(line));
    // A request still waiting when the run ends has not timed out: it stays uncounted.
    pending_.reset();
    std::fill(ready_.begin(), ready_.end(), true);
}

std::optional<std::int64_t> ModbusWatch::deadline() const {
    std::optional<std::int64_t> next;
    auto consider = [&](std::int64_t at) { next = next ? std::min(*next, at) : at; };
    for (const FrameAssembler& a : assemblers_)
        if (const auto at = a.deadline()) consider(*at);
    for (const auto& wait : echoWait_)
        if (wait) consider(wait->endUs + options_.echoWindowUs + 1);
    if (pending_) consider(pending_->endUs + options_.timeoutUs + 1);
    return next;
}

WatchEntry& ModbusWatch::push(WatchEntry entry, bool ready) {
    queue_.push_back(std::move(entry));
    ready_.push_back(ready);
    return queue_.back();
}

WatchEntry* ModbusWatch::find(std::uint64_t id) {
    if (id < firstId_ || id - firstId_ >= queue_.size()) return nullptr;
    return &queue_[id - firstId_];
}

void ModbusWatch::markReady(std::uint64_t id) {
    if (id >= firstId_ && id - firstId_ < ready_.size()) ready_[id - firstId_] = true;
}

void ModbusWatch::release() {
    while (!queue_.empty() && ready_.front()) {
        done_.push_back(std::move(queue_.front()));
        queue_.pop_front();
        ready_.pop_front();
        ++firstId_;
    }
}

std::vector<WatchEntry> ModbusWatch::take() {
    std::vector<WatchEntry> out;
    take(out);
    return out;
}

void ModbusWatch::take(std::vector<WatchEntry>& into) {
    into.clear();
    release();
    into.swap(done_);
}

}  // namespace varelo
