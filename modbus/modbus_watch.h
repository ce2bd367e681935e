#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "modbus/frame_assembler.h"
#include "modbus/modbus_decode.h"
#include "modbus/watch_statistics.h"

namespace varelo {

struct WatchOptions {
    TelegramFraming framing = TelegramFraming::Rtu;
    std::int64_t timeoutUs = 1'000'000;  // a request with no answer by then has timed out
    // An identical copy of a request that starts this soon after it ended may be
    // its echo; later, for a function whose answer is a copy, it is the answer.
    std::int64_t echoWindowUs = 50'000;
};

enum class EntryKind { Request, Answer, Exception, Orphan, Invalid, Timeout };

// One line of the analysis: a frame, or a request's time-out.
struct WatchEntry {
    EntryKind kind = EntryKind::Invalid;
    int line = 0;
    bool sent = false;  // written by this program, not received
    std::int64_t startUs = 0;
    std::int64_t endUs = 0;
    std::string bytes;
    DecodedFrame frame;  // a time-out's: its request
    int pieces = 1;
    bool backToBack = false;
    bool echoed = false;   // a request whose echo came back and was removed
    bool broadcast = false;

    // Answers, exceptions and time-outs: the request they belong to.
    bool paired = false;
    std::int64_t requestEndUs = 0;
    std::int64_t responseUs = 0;  // start of the answer minus end of the request
    FrameFields request;
    std::string note;  // an answer that does not fit its request
};

// Reads the traffic of a MODBUS line, one frame at a time: pairs each request
// with the answer that follows from the same station and function, tells
// echoes and time-outs, and keeps the statistics.
//
// One line is the whole bus seen through one adapter (requests, answers and
// the adapter's echo all come in on it); two lines are the two directions of a
// tapped line. Either way there is one master, so one request waits at a time:
// a new request ends the wait of the one before (a time-out, as the master
// has given up on it).
//
// What a frame is, when its layout fits both ways: the answer when a request
// of the same station and function waits, else a request. A frame that is the
// same bytes as the request just before it on the same line is that request's
// echo, removed and the request marked; for a function whose answer is a copy
// of its request, the copy is the answer instead once the line is known to
// give no echo, once the request was echoed already, or when the copy comes
// later than the echo window.
//
// Entries come out in the order their frames began, each once it is decided:
// a request when it is known whether an echo follows.
class ModbusWatch {
  public:
    explicit ModbusWatch(WatchOptions options = {});

    // A telegram received on `line` (0 or 1).
    void receive(int line, const TimedTelegram& telegram);
    // A telegram this program wrote on `line`: always a request.
    void sent(int line, const TimedTelegram& telegram);
    // Time has passed: time-outs, echo windows and waiting pieces that end by `nowUs`.
    void expire(std::int64_t nowUs);
    // The end of the run: everything waiting is decided.
    void finish();

    // When expire() next has something to do.
    std::optional<std::int64_t> deadline() const;

    // The entries decided since the last call, oldest first.
    std::vector<WatchEntry> take();
    // The same into `into` (emptied first), whose room is kept for the next call.
    void take(std::vector<WatchEntry>& into);

    const WatchStatistics& statistics() const { return statistics_; }

  private:
    struct Pending {
        std::uint64_t id;  // of its entry
        std::uint8_t station, function;
        FrameFields fields;
        DecodedFrame frame;
        std::int64_t endUs;
        int line;
    };
    // A request whose echo may still come.
    struct EchoWait {
        std::uint64_t id;
        std::string bytes;
        std::int64_t startUs;
        std::int64_t endUs;
        int function;
        bool echoed = false;
    };
    enum class LineEcho { Unknown, Echoes, NoEcho };

    void frameIn(int line, bool sent, AssembledFrame frame);
    bool takeAsEcho(int line, const AssembledFrame& frame);
    void settleEcho(int line);
    void classify(int line, bool sent, AssembledFrame frame);
    void request(WatchEntry entry);
    void answer(WatchEntry entry);
    void invalid(WatchEntry entry);
    void timeOut(std::int64_t atUs);
    void expireTimeout(std::int64_t nowUs);
    WatchEntry& push(WatchEntry entry, bool ready);
    WatchEntry* find(std::uint64_t id);
    void markReady(std::uint64_t id);
    void release();

    WatchOptions options_;
    std::array<FrameAssembler, 2> assemblers_;
    std::vector<AssembledFrame> scratch_;
    std::array<std::optional<EchoWait>, 2> echoWait_;
    std::array<LineEcho, 2> lineEcho_{LineEcho::Unknown, LineEcho::Unknown};
    std::optional<Pending> pending_;

    std::deque<WatchEntry> queue_;  // entries in order, the front ones not yet taken
    std::deque<bool> ready_;
    std::uint64_t firstId_ = 0;     // of queue_.front()
    std::vector<WatchEntry> done_;
    WatchStatistics statistics_;
};

}  // namespace varelo
