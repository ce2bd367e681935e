// A tag reading session fed an arbitrary received byte stream, cut at arbitrary
// points, with TimerModBus ticks and "Inicializar" in between, and with good
// responses for the expected block cut the same way. The session must never hold
// more than one response's bytes, must always ask for the block it expects, and
// must take in a good response however it is cut.
//
// Input: the station (1 + first byte % 247), then a script of operations:
//   op % 6 = 0..2  ProcessTagResponse of the next n bytes, n = next byte (0: an empty block)
//            3     retryTick (TimerModBus)
//            4     a good response for the expected block: n = next byte, then n data
//                  bytes; m = next byte % 16, then m bytes that follow the response in its
//                  last piece (a second response or noise); sent in pieces of
//                  1 + (next byte % 32) bytes
//            5     initialize ("Inicializar")

#include "fuzz/fuzz_input.h"
#include "modbus/modbus_frame.h"
#include "modbus/tag_reader.h"

#include <vector>

namespace varelo::fuzz {
namespace {

// Station, function, byte count, at most 255 data bytes, CRC.
constexpr std::size_t kLongestResponse = 3 + 255 + 2;
// Four blocks of at most 127 registers each (the byte count is not compared with
// the registers asked for).
constexpr std::size_t kLargestImage = 4 * 254;

class Session {
  public:
    explicit Session(std::int32_t station) : station_(station) {
        reader_.prepareSession(station);
        reader_.beginSession();
        checkState();
    }

    void receive(const std::string& bytes) { check(reader_.ProcessTagResponse(bytes)); }

    void retryTick() {
        const std::string received = state_.TagRxBuffer;
        reader_.retryTick();
        FUZZ_CHECK(state_.TagRxBuffer == received);  // what came so far is kept
        checkState();
    }

    void initialize() {
        const std::int32_t crcErrors = state_.TagCrcErrors;
        check(reader_.initialize());
        FUZZ_CHECK(state_.TagCrcErrors == crcErrors);
    }

    // A good response for the block at TagAddress, in pieces of the sizes the
    // input gives; whatever follows it in its last piece is dropped.
    void receiveGoodResponse(const std::string& data, const std::string& following, FuzzInput& in) {
        std::string response{static_cast<char>(station_), 3, static_cast<char>(data.size())};
        response += data;
        response += ModbusCrc16(response);

        const bool fromEmptyBuffer = state_.TagRxBuffer.empty();
        const std::int32_t address = state_.TagAddress;
        std::string image = address == 0 ? std::string() : state_.TagMap;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) image += {data[i + 1], data[i]};

        for (std::size_t sent = 0; sent < response.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + in.byte() % 32, response.size() - sent);
            sent += piece;
            const std::string last = sent == response.size() ? following : std::string();
            const TagOutcome outcome =
                reader_.ProcessTagResponse(response.substr(sent - piece, piece) + last);
            check(outcome);
            if (!fromEmptyBuffer) continue;  // earlier bytes decide what this one is
            if (sent < response.size()) {
                FUZZ_CHECK(outcome.enableRetryTimer && !outcome.ledVerde && state_.TagAddress == address);
                continue;
            }
            FUZZ_CHECK(outcome.ledVerde == colours::Lime && outcome.ledAmarillo == colours::Yellow);
            FUZZ_CHECK(outcome.labelPaso == std::to_string(address / 32 + 1));
            FUZZ_CHECK(state_.TagAddress == (address + 32) % 128);
            FUZZ_CHECK(state_.TagMap == image && state_.TagRxBuffer.empty() && state_.TagCrcErrors == 0);
            FUZZ_CHECK(outcome.mapToShow.has_value() == (address == 96));
            if (outcome.mapToShow) FUZZ_CHECK(*outcome.mapToShow == image);
        }
    }

  private:
    void check(const TagOutcome& outcome) {
        checkState();
        if (outcome.labelPaso)
            FUZZ_CHECK(outcome.labelPaso->size() == 1 && (*outcome.labelPaso)[0] >= '0' &&
                       (*outcome.labelPaso)[0] <= '4');
        if (outcome.initialize) FUZZ_CHECK(state_.TagAddress == 0 && state_.TagMap.empty());
        if (outcome.mapToShow) {
            FUZZ_CHECK(state_.TagAddress == 0);
            // The map window shows the first 256 bytes, 16 to a row behind the header.
            const std::vector<std::string> lines = TagMapLines(*outcome.mapToShow);
            FUZZ_CHECK(lines.size() == 17);
            std::size_t shown = 0;
            for (std::size_t row = 1; row < lines.size(); ++row) shown += lines[row].size() - 6;
            FUZZ_CHECK(shown == std::min<std::size_t>(outcome.mapToShow->size(), 256));
        }
    }

    void checkState() {
        FUZZ_CHECK(state_.TagSession && state_.TagStation == station_);
        FUZZ_CHECK(state_.TagRxBuffer.size() < kLongestResponse);
        FUZZ_CHECK(state_.TagAddress >= 0 && state_.TagAddress <= 96 && state_.TagAddress % 32 == 0);
        FUZZ_CHECK(state_.TagQuantity == 32);
        FUZZ_CHECK(state_.TagMap.size() <= kLargestImage && state_.TagMap.size() % 2 == 0);
        FUZZ_CHECK(state_.TagCrcErrors >= 0);
        // The scheduler always sends the request for the block still expected.
        FUZZ_CHECK(state_.TlgToSend == BuildModbusFrame(station_, 3, state_.TagAddress, 32, "RTU"));
    }

    const std::int32_t station_;
    SharedState state_;
    TagReader reader_{state_};
};

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    Session session(1 + in.byte() % 247);
    while (!in.empty()) {
        switch (in.byte() % 6) {
            case 3:
                session.retryTick();
                break;
            case 4: {
                const std::string responseData = in.bytes(in.byte());
                const std::string following = in.bytes(in.byte() % 16);
                session.receiveGoodResponse(responseData, following, in);
                break;
            }
            case 5:
                session.initialize();
                break;
            default:
                session.receive(in.bytes(in.byte()));
                break;
        }
    }
    return 0;
}
