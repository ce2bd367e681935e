// The MODBUS watch fed arbitrary telegrams on two lines, with sent telegrams
// and the passing of time in between; and every telegram also decoded alone in
// both framings. The decoder must stay inside the telegram and keep its fields
// inside the message; every entry must show bytes that really came, in one
// run, on its line; no answer or time-out may pair with a request that never
// came; and rendering any entry must give one JSON object.
//
// Input: the framing (first byte, bit 0: ASCII), then a script of operations:
//   op % 4 = 0, 1  a telegram of n bytes (n = next byte) received on line op % 2,
//                  after a pause of next byte x 500 us
//            2     a telegram of n bytes sent on line 0 after a pause, as above
//            3     a pause of next byte x 20 ms, then expire()

#include "fuzz/fuzz_input.h"
#include "modbus/modbus_decode.h"
#include "modbus/modbus_frame.h"
#include "modbus/modbus_watch.h"
#include "modbus/watch_render.h"

#include <array>

namespace varelo::fuzz {
namespace {

void checkDecoded(const std::string& telegram, TelegramFraming framing) {
    for (const RoleHint hint : {RoleHint::Any, RoleHint::Request, RoleHint::Answer}) {
        DecodedFrame f = DecodeTelegram(telegram, framing, hint);
        FUZZ_CHECK(f.dataOffset + f.dataSize <= f.message.size());
        FUZZ_CHECK(f.message.size() <= telegram.size());
        if (f.valid()) {
            FUZZ_CHECK(f.check.right);
            FUZZ_CHECK(f.message.size() >= 2);
            if (framing == TelegramFraming::Rtu) FUZZ_CHECK(f.message + ModbusCrc16(f.message) == telegram);
        }
        if (f.role == FrameRole::Either) {
            FUZZ_CHECK(LayOutAs(f, FrameRole::Answer));
            FUZZ_CHECK(f.dataOffset + f.dataSize <= f.message.size());
        }
    }
}

class Script {
  public:
    explicit Script(TelegramFraming framing) : framing_(framing), watch_(WatchOptions{framing}) {}

    void receive(int line, const std::string& bytes, std::int64_t pauseUs) {
        now_ += pauseUs;
        const std::int64_t end = now_ + 100 * static_cast<std::int64_t>(bytes.size());
        watch_.receive(line, {bytes, now_, end});
        received_[static_cast<std::size_t>(line)] += bytes;
        now_ = end;
        checkDecoded(bytes, framing_);
        checkEntries();
    }
    void send(const std::string& bytes, std::int64_t pauseUs) {
        now_ += pauseUs;
        watch_.sent(0, {bytes, now_, now_ + 100});
        sent_.push_back(bytes);
        checkEntries();
    }
    void expire(std::int64_t pauseUs) {
        now_ += pauseUs;
        watch_.expire(now_);
        if (const auto at = watch_.deadline()) FUZZ_CHECK(*at > now_);
        checkEntries();
    }
    void finish() {
        watch_.finish();
        checkEntries();
        for (const auto& [station, s] : watch_.statistics().stations()) {
            FUZZ_CHECK(s.answers + s.timeouts <= s.requests);
            FUZZ_CHECK(s.responseTimes.count() == s.answers);
        }
    }

  private:
    void checkEntries() {
        for (const WatchEntry& e : watch_.take()) {
            if (e.kind == EntryKind::Timeout) {
                FUZZ_CHECK(e.paired && e.bytes.empty());
            } else if (e.sent) {
                bool came = false;
                for (const std::string& s : sent_) came = came || s == e.bytes;
                FUZZ_CHECK(came);
            } else {
                FUZZ_CHECK(!e.bytes.empty());
                FUZZ_CHECK(received_[static_cast<std::size_t>(e.line)].find(e.bytes) != std::string::npos);
            }
            if (e.kind == EntryKind::Answer || e.kind == EntryKind::Exception) FUZZ_CHECK(e.paired && e.frame.valid());
            FUZZ_CHECK(e.kind == EntryKind::Invalid || e.frame.valid());
            json_.clear();
            AppendEntryJson(json_, e, {true, RegisterType::F64, WordOrder::DCBA});
            FUZZ_CHECK(json_.front() == '{' && json_.back() == '}');
            FUZZ_CHECK(!DescribeEntry(e, {true, RegisterType::I32, WordOrder::BADC}).empty());
        }
    }

    TelegramFraming framing_;
    ModbusWatch watch_;
    std::int64_t now_ = 0;
    std::array<std::string, 2> received_;
    std::vector<std::string> sent_;
    std::string json_;
};

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo;
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    const TelegramFraming framing = (in.byte() & 1) ? TelegramFraming::Ascii : TelegramFraming::Rtu;
    Script script(framing);
    while (!in.empty()) {
        const std::uint8_t op = in.byte();
        switch (op % 4) {
            case 3:
                script.expire(20000 * static_cast<std::int64_t>(in.byte()));
                break;
            case 2: {
                const std::string bytes = in.bytes(in.byte());
                script.send(bytes, 500 * static_cast<std::int64_t>(in.byte()));
                break;
            }
            default: {
                const std::string bytes = in.bytes(in.byte());
                script.receive(op % 2, bytes, 500 * static_cast<std::int64_t>(in.byte()));
                break;
            }
        }
    }
    script.finish();
    return 0;
}
