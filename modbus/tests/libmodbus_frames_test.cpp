// libmodbus as master and as slave, each on a pseudo-terminal, with this test
// relaying the bytes between them: every request and answer libmodbus builds
// for one call is decoded and paired, and the values the decoder reads must be
// the ones libmodbus's master got.

#include "modbus/modbus_decode.h"
#include "modbus/modbus_watch.h"
#include "modbus/register_values.h"
#include "modbus/tests/frame_summary.h"

#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace varelo {
namespace {

constexpr int kStation = 17;

struct Pty {
    int master = -1, slave = -1;
    std::string path;
    Pty() {
        char name[256];
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
    }
    ~Pty() {
        if (master >= 0) close(master);
        if (slave >= 0) close(slave);
    }
};

// Copies bytes between the two pseudo-terminals' master ends and keeps what
// went each way.
class Relay {
  public:
    Relay(int toSlave, int toMaster) : masterSide_(toSlave), slaveSide_(toMaster) {
        thread_ = std::thread([this] { run(); });
    }
    ~Relay() {
        stop_ = true;
        thread_.join();
    }
    // What went from master to slave and back since the last call.
    std::pair<std::string, std::string> take() {
        std::lock_guard lock(mutex_);
        std::pair<std::string, std::string> out{std::move(request_), std::move(answer_)};
        request_.clear();
        answer_.clear();
        return out;
    }

  private:
    void run() {
        while (!stop_) {
            pollfd fds[2] = {{masterSide_, POLLIN, 0}, {slaveSide_, POLLIN, 0}};
            if (poll(fds, 2, 20) <= 0) continue;
            char buffer[512];
            for (int i = 0; i < 2; ++i) {
                if (!(fds[i].revents & POLLIN)) continue;
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n <= 0) continue;
                std::lock_guard lock(mutex_);
                (i == 0 ? request_ : answer_).append(buffer, static_cast<std::size_t>(n));
                if (write(i == 0 ? slaveSide_ : masterSide_, buffer, static_cast<std::size_t>(n)) != n) return;
            }
        }
    }
    int masterSide_, slaveSide_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string request_, answer_;
};

class LibmodbusFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(masterLine_.path.empty());
        ASSERT_FALSE(slaveLine_.path.empty());
        mapping_ = modbus_mapping_new(100, 100, 100, 100);
        for (int i = 0; i < 100; ++i) {
            mapping_->tab_bits[i] = i % 3 == 0;
            mapping_->tab_input_bits[i] = i % 2;
            mapping_->tab_registers[i] = static_cast<std::uint16_t>(0x100 + i);
            mapping_->tab_input_registers[i] = static_cast<std::uint16_t>(0x200 + i);
        }
        slave_ = modbus_new_rtu(slaveLine_.path.c_str(), 115200, 'N', 8, 1);
        master_ = modbus_new_rtu(masterLine_.path.c_str(), 115200, 'N', 8, 1);
        ASSERT_TRUE(slave_ && master_);
        modbus_set_slave(slave_, kStation);
        modbus_set_slave(master_, kStation);
        ASSERT_EQ(modbus_connect(slave_), 0);
        ASSERT_EQ(modbus_connect(master_), 0);
        modbus_set_response_timeout(master_, 0, 300000);
        modbus_set_indication_timeout(slave_, 0, 100000);
        // Before it answers "illegal function" the slave waits this long, for the rest of the request.
        modbus_set_response_timeout(slave_, 0, 20000);
        relay_ = std::make_unique<Relay>(masterLine_.master, slaveLine_.master);
        server_ = std::thread([this] {
            std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
            while (!stop_) {
                const int n = modbus_receive(slave_, query);
                if (n > 0) modbus_reply(slave_, query, n, mapping_);
            }
        });
    }
    void TearDown() override {
        stop_ = true;
        if (server_.joinable()) server_.join();
        relay_.reset();
        if (master_) modbus_close(master_), modbus_free(master_);
        if (slave_) modbus_close(slave_), modbus_free(slave_);
        if (mapping_) modbus_mapping_free(mapping_);
    }

    // Runs one master call; the bytes it sent and got, decoded (the answer as an answer).
    std::pair<DecodedFrame, DecodedFrame> exchange(const std::function<int(modbus_t*)>& call) {
        call(master_);
        const std::pair<std::string, std::string> wire = relay_->take();
        const std::int64_t t = 100000 * static_cast<std::int64_t>(++calls_);
        watch_.receive(0, {wire.first, t, t + 1000});
        watch_.receive(0, {wire.second, t + 5000, t + 6000});
        return {DecodeTelegram(wire.first, TelegramFraming::Rtu), DecodeTelegram(wire.second, TelegramFraming::Rtu, RoleHint::Answer)};
    }

    static std::string u16s(const DecodedFrame& f) {
        std::string out;
        for (const RegisterValue& v : ReadRegisters(f.data(), RegisterType::U16, WordOrder::ABCD).values)
            out += (out.empty() ? "" : " ") + v.text;
        return out;
    }
    static std::string u16s(const std::uint16_t* values, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += (i ? " " : "") + std::to_string(values[i]);
        return out;
    }
    static std::string bits(const std::uint8_t* values, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += (i ? " " : "") + std::to_string(values[i]);
        return out;
    }

    Pty masterLine_, slaveLine_;
    modbus_t* master_ = nullptr;
    modbus_t* slave_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    std::unique_ptr<Relay> relay_;
    std::thread server_;
    std::atomic<bool> stop_{false};
    ModbusWatch watch_;
    int calls_ = 0;
};

TEST_F(LibmodbusFrames, EveryFunctionLibmodbusBuildsIsDecodedAndPaired) {
    std::uint8_t bitDest[64] = {};
    std::uint16_t regDest[16] = {};

    auto [readBits, bitsAnswer] = exchange([&](modbus_t* m) { return modbus_read_bits(m, 19, 37, bitDest); });
    EXPECT_EQ(FrameSummary(readBits), "request st=17 fn=1 a=19 n=37");
    EXPECT_EQ(bitsAnswer.role, FrameRole::Answer);
    EXPECT_EQ(BitList(bitsAnswer.data(), 37), bits(bitDest, 37));

    auto [readInputs, inputsAnswer] = exchange([&](modbus_t* m) { return modbus_read_input_bits(m, 10, 22, bitDest); });
    EXPECT_EQ(FrameSummary(readInputs), "request st=17 fn=2 a=10 n=22");
    EXPECT_EQ(BitList(inputsAnswer.data(), 22), bits(bitDest, 22));

    auto [readRegs, regsAnswer] = exchange([&](modbus_t* m) { return modbus_read_registers(m, 7, 3, regDest); });
    EXPECT_EQ(FrameSummary(readRegs), "request st=17 fn=3 a=7 n=3");
    EXPECT_EQ(FrameSummary(regsAnswer), "answer st=17 fn=3 n=3 d=010701080109");
    EXPECT_EQ(u16s(regsAnswer), u16s(regDest, 3));

    auto [readInput, inputAnswer] = exchange([&](modbus_t* m) { return modbus_read_input_registers(m, 8, 1, regDest); });
    EXPECT_EQ(FrameSummary(readInput), "request st=17 fn=4 a=8 n=1");
    EXPECT_EQ(FrameSummary(inputAnswer), "answer st=17 fn=4 n=1 d=0208");

    auto [writeBit, writeBitAnswer] = exchange([](modbus_t* m) { return modbus_write_bit(m, 12, 1); });
    EXPECT_EQ(FrameSummary(writeBit), "either st=17 fn=5 a=12 v=65280 d=FF00");
    EXPECT_EQ(FrameSummary(writeBitAnswer), "answer st=17 fn=5 a=12 v=65280 d=FF00");

    auto [writeReg, writeRegAnswer] = exchange([](modbus_t* m) { return modbus_write_register(m, 1, 3); });
    EXPECT_EQ(FrameSummary(writeReg), "either st=17 fn=6 a=1 v=3 d=0003");

    const std::uint8_t coils[10] = {1, 0, 1, 1, 0, 0, 1, 1, 1, 0};
    auto [writeBits, writeBitsAnswer] = exchange([&](modbus_t* m) { return modbus_write_bits(m, 19, 10, coils); });
    EXPECT_EQ(FrameSummary(writeBits), "request st=17 fn=15 a=19 n=10 d=CD01");
    EXPECT_EQ(FrameSummary(writeBitsAnswer), "answer st=17 fn=15 a=19 n=10");

    const std::uint16_t regs[2] = {10, 258};
    auto [writeRegs, writeRegsAnswer] = exchange([&](modbus_t* m) { return modbus_write_registers(m, 1, 2, regs); });
    EXPECT_EQ(FrameSummary(writeRegs), "request st=17 fn=16 a=1 n=2 d=000A0102");
    EXPECT_EQ(FrameSummary(writeRegsAnswer), "answer st=17 fn=16 a=1 n=2");

    std::uint8_t id[64] = {};
    auto [reportId, reportAnswer] = exchange([&](modbus_t* m) { return modbus_report_slave_id(m, sizeof id, id); });
    EXPECT_EQ(FrameSummary(reportId), "request st=17 fn=17");
    EXPECT_EQ(reportAnswer.role, FrameRole::Answer);
    EXPECT_TRUE(reportAnswer.valid());

    auto [mask, maskAnswer] = exchange([](modbus_t* m) { return modbus_mask_write_register(m, 4, 0x00F2, 0x0025); });
    EXPECT_EQ(FrameSummary(mask), "either st=17 fn=22 a=4 d=00F20025");

    const std::uint16_t src[3] = {0xFF, 0xFF, 0xFF};
    auto [readWrite, readWriteAnswer] =
        exchange([&](modbus_t* m) { return modbus_write_and_read_registers(m, 14, 3, src, 3, 6, regDest); });
    EXPECT_EQ(FrameSummary(readWrite), "request st=17 fn=23 a=3 n=6 wa=14 wn=3 d=00FF00FF00FF");
    EXPECT_EQ(u16s(readWriteAnswer), u16s(regDest, 6));

    auto [beyond, beyondAnswer] = exchange([&](modbus_t* m) { return modbus_read_registers(m, 200, 2, regDest); });
    EXPECT_EQ(FrameSummary(beyond), "request st=17 fn=3 a=200 n=2");
    EXPECT_EQ(FrameSummary(beyondAnswer), "exception st=17 fn=3 x=2");

    // Functions libmodbus's slave does not serve, sent with its raw-request call
    // (which adds the CRC): 11 and 12 get "illegal function", 7, 43 and 8 no
    // answer at all (its slave cannot tell where the last two end, and is lost
    // after them: they come last).
    const std::vector<std::vector<std::uint8_t>> raw = {
        {kStation, 0x0B}, {kStation, 0x0C}, {kStation, 0x07}, {kStation, 0x2B, 0x0E, 0x01, 0x00},
        {kStation, 0x08, 0x00, 0x00, 0xA5, 0x37}};
    const char* const rawRequests[] = {"request st=17 fn=11", "request st=17 fn=12", "request st=17 fn=7",
                                       "request st=17 fn=43 v=14 d=0100", "either st=17 fn=8 v=0 d=A537"};
    for (std::size_t i = 0; i < raw.size(); ++i) {
        auto [request, answer] = exchange([&](modbus_t* m) {
            std::uint8_t answerBytes[MODBUS_RTU_MAX_ADU_LENGTH];
            if (modbus_send_raw_request(m, raw[i].data(), static_cast<int>(raw[i].size())) < 0) return -1;
            return modbus_receive_confirmation(m, answerBytes);
        });
        EXPECT_EQ(FrameSummary(request), rawRequests[i]);
        if (i < 2) {
            EXPECT_EQ(FrameSummary(answer), "exception st=17 fn=" + std::to_string(raw[i][1]) + " x=1");
        } else {
            EXPECT_EQ(answer.problem, FrameProblem::TooShort);  // nothing came
        }
    }

    watch_.expire(1000000000);
    watch_.finish();
    const StationStatistics& s = watch_.statistics().stations().at(kStation);
    EXPECT_EQ(s.requests, calls_);
    EXPECT_EQ(s.answers, calls_ - 3);
    EXPECT_EQ(s.timeouts, 3);
    EXPECT_EQ(s.orphans, 0);
    EXPECT_EQ(s.exceptions.at(1), 2);
    EXPECT_EQ(s.exceptions.at(2), 1);
    EXPECT_EQ(watch_.statistics().invalidFrames, 0);
}

}  // namespace
}  // namespace varelo
