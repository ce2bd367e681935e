// What the watch shows: entries as text and JSON, the statistics, and the
// check appended to a telegram before it is sent.

#include "modbus/modbus_frame.h"
#include "modbus/modbus_watch.h"
#include "modbus/telegram_check.h"
#include "modbus/tests/hex_bytes.h"
#include "modbus/watch_render.h"
#include "modbus/watch_statistics.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::bytes;
using testing::hex;

std::string rtu(const std::string& message) {
    const std::string m = bytes(message);
    return m + ModbusCrc16(m);
}

// A watch that saw a read of station 17 answered 12 ms later.
std::vector<WatchEntry> readAndAnswer(const std::string& answer) {
    ModbusWatch watch;
    watch.receive(0, {rtu("11 03 00 6B 00 02"), 0, 800});
    watch.receive(0, {rtu(answer), 12800, 13800});
    watch.finish();
    return watch.take();
}

TEST(DescribeEntry, RequestsAnswersAndProblemsInOneLineEach) {
    const std::vector<WatchEntry> e = readAndAnswer("11 03 04 41 48 F5 C3");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(DescribeEntry(e[0], {}), "request st 17 read holding registers (3): address 107 count 2, CRC ok");
    EXPECT_EQ(DescribeEntry(e[1], {}), "answer st 17 read holding registers (3): 2 registers, CRC ok, 12.000 ms");
    EXPECT_EQ(DescribeEntry(e[1], {true, RegisterType::U16, WordOrder::ABCD}),
              "answer st 17 read holding registers (3): 2 registers 107=16712 108=62915, CRC ok, 12.000 ms");
    EXPECT_EQ(DescribeEntry(e[1], {true, RegisterType::F32, WordOrder::ABCD}),
              "answer st 17 read holding registers (3): 2 registers 107=12.56, CRC ok, 12.000 ms");
    // A type wider than the data: what fits, and the note.
    EXPECT_EQ(DescribeEntry(e[1], {true, RegisterType::F64, WordOrder::ABCD}),
              "answer st 17 read holding registers (3): 2 registers (2 registers left over, too few for a f64), "
              "CRC ok, 12.000 ms");

    const std::vector<WatchEntry> exception = readAndAnswer("11 83 02");
    EXPECT_EQ(DescribeEntry(exception[1], {}),
              "exception st 17 read holding registers (3): 02 illegal data address, CRC ok, 12.000 ms");

    ModbusWatch watch;
    watch.receive(0, {bytes("11 03 00 6B 00 02 00 00"), 0, 800});
    watch.receive(0, {rtu("01 01 00 13 00 0A"), 100000, 100800});
    watch.receive(0, {rtu("01 01 02 CD 01"), 110000, 110800});
    watch.receive(0, {rtu("01 01 00 13 00 0A"), 200000, 200800});
    watch.expire(2000000);
    const std::vector<WatchEntry> more = watch.take();
    ASSERT_EQ(more.size(), 5u);
    EXPECT_EQ(DescribeEntry(more[0], {}),
              "invalid frame: bad check (CRC 0000, expected 47B7), st 17 read holding registers (3)");
    EXPECT_EQ(DescribeEntry(more[2], {}), "answer st 1 read coils (1): 10 bits: 1 0 1 1 0 0 1 1 1 0, CRC ok, 9.200 ms");
    EXPECT_EQ(DescribeEntry(more[4], {}), "time-out st 1 read coils (1): address 19 count 10, no answer within 1000.000 ms");
}

TEST(AppendEntryJson, OneObjectPerEntryWithTheFieldsScriptsNeed) {
    const std::vector<WatchEntry> e = readAndAnswer("11 03 04 41 48 F5 C3");
    std::string request, answer;
    AppendEntryJson(request, e[0], {});
    AppendEntryJson(answer, e[1], {true, RegisterType::F32, WordOrder::CDAB});
    EXPECT_EQ(request,
              "{\"kind\":\"request\",\"line\":1,\"start_us\":0,\"end_us\":800,\"bytes\":\"1103006B0002B747\","
              "\"station\":17,\"function\":3,\"address\":107,\"count\":2,\"check\":\"ok\"}");
    EXPECT_EQ(answer,
              "{\"kind\":\"answer\",\"line\":1,\"start_us\":12800,\"end_us\":13800,\"bytes\":\"1103044148F5C3" +
                  hex(ModbusCrc16(bytes("11 03 04 41 48 F5 C3"))).erase(2, 1) +
                  "\",\"station\":17,\"function\":3,\"count\":2,\"data\":\"4148F5C3\",\"first\":107,"
                  "\"values\":[-4.9503025e+32],\"check\":\"ok\",\"response_us\":12000}");
    std::string fields;
    AppendEntryJson(fields, e[0], {}, false);
    EXPECT_EQ(fields, "{\"kind\":\"request\",\"station\":17,\"function\":3,\"address\":107,\"count\":2,\"check\":\"ok\"}");
}

TEST(WatchStatistics, CountsPerStationWithResponseTimesAndTheBusiestFunction) {
    ModbusWatch watch;
    std::int64_t t = 0;
    // Station 17: 100 reads answered after 1..100 ms, 3 writes, 1 exception, 1 time-out.
    for (int i = 1; i <= 100; ++i, t += 200000) {
        watch.receive(0, {rtu("11 03 00 00 00 01"), t, t + 1000});
        watch.receive(0, {rtu("11 03 02 00 01"), t + 1000 + i * 1000, t + 2000 + i * 1000});
    }
    for (int i = 0; i < 3; ++i, t += 200000) {
        watch.receive(0, {rtu("11 10 00 00 00 01 02 00 05"), t, t + 1000});
        watch.receive(0, {rtu("11 10 00 00 00 01"), t + 3000, t + 4000});
    }
    watch.receive(0, {rtu("11 04 00 00 00 01"), t, t + 1000});
    watch.receive(0, {rtu("11 84 02"), t + 3000, t + 4000});
    t += 200000;
    watch.receive(0, {rtu("11 04 00 00 00 01"), t, t + 1000});
    watch.expire(t + 2000000);
    watch.finish();
    const WatchStatistics& stats = watch.statistics();
    const StationStatistics& s = stats.stations().at(17);
    EXPECT_EQ(s.requests, 105);
    EXPECT_EQ(s.answers, 104);
    EXPECT_EQ(s.timeouts, 1);
    EXPECT_EQ(s.exceptions.at(2), 1);
    EXPECT_EQ(s.busiestFunction(), 3);
    EXPECT_EQ(s.responseTimes.min(), 1000);
    EXPECT_EQ(s.responseTimes.max(), 100000);
    // 104 times: 1..100 ms and four of 2 ms. The median is the 52nd, 48 ms; the
    // 99th percentile the 103rd, 99 ms; both to within the histogram's 0.4 %.
    EXPECT_NEAR(s.responseTimes.quantile(0.5), 48000, 48000 * 0.004);
    EXPECT_NEAR(s.responseTimes.quantile(0.99), 99000, 99000 * 0.004);

    const std::string json = stats.json();
    EXPECT_NE(json.find("\"17\":{\"requests\":105,\"answers\":104,\"timeouts\":1,\"check_errors\":0,\"orphans\":0,"
                        "\"exceptions\":{\"2\":1},\"response_us\":{\"min\":1000,"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"busiest_function\":{\"function\":3,\"name\":\"read holding registers\",\"requests\":100}"),
              std::string::npos);
    const std::string text = stats.text();
    EXPECT_NE(text.find("busiest: read holding registers (3), 100 requests"), std::string::npos) << text;
    EXPECT_NE(text.find("exception 02 illegal data address: 1"), std::string::npos) << text;
}

TEST(ResponseTimes, ExactBelow256UsAndWithinAFractionAbove) {
    ResponseTimes times;
    for (const std::int64_t us : {5, 7, 9}) times.add(us);
    EXPECT_EQ(times.quantile(0.5), 7);
    ResponseTimes large;
    for (std::int64_t us = 1; us <= 1000000; us += 1000) large.add(us);
    EXPECT_NEAR(large.quantile(0.5), 500000, 500000 * 0.004);
    EXPECT_EQ(large.quantile(1.0), large.max());
    EXPECT_EQ(ResponseTimes().quantile(0.5), 0);
}

TEST(AppendCheck, EveryCheckOnAHexTelegram) {
    const HexBytes request = ParseHexBytes("11 03 00 6B 00 03");
    ASSERT_TRUE(request.error.empty());
    EXPECT_EQ(hex(AppendCheck(request.bytes, AppendedCheck::Crc16)), "11 03 00 6B 00 03 76 87");
    EXPECT_EQ(hex(AppendCheck(request.bytes, AppendedCheck::Lrc)), "11 03 00 6B 00 03 7E");
    EXPECT_EQ(hex(AppendCheck(request.bytes, AppendedCheck::Sum8)), "11 03 00 6B 00 03 82");
    EXPECT_EQ(hex(AppendCheck(request.bytes, AppendedCheck::Xor8)), "11 03 00 6B 00 03 7A");
    EXPECT_EQ(hex(AppendCheck(request.bytes, AppendedCheck::None)), "11 03 00 6B 00 03");
    for (const char* name : {"crc16", "lrc", "sum8", "xor8", "none"}) EXPECT_TRUE(ParseAppendedCheck(name)) << name;
    EXPECT_FALSE(ParseAppendedCheck("crc"));
    EXPECT_EQ(TelegramToSend(request.bytes, AppendedCheck::Lrc, true), ":1103006B00037E\r\n");
    EXPECT_EQ(TelegramToSend(request.bytes, AppendedCheck::Crc16, false), AppendCheck(request.bytes, AppendedCheck::Crc16));
}

TEST(ParseHexBytes, TakesCommonSpellingsAndRefusesTheRestWithAReason) {
    EXPECT_EQ(hex(ParseHexBytes("1103006b0003").bytes), "11 03 00 6B 00 03");
    EXPECT_EQ(hex(ParseHexBytes("0x11 0x03 00:6B-00,03").bytes), "11 03 00 6B 00 03");
    EXPECT_EQ(ParseHexBytes("11 0").error, "an odd number of hexadecimal digits");
    EXPECT_EQ(ParseHexBytes("11 G3").error, "'G' at position 4 is no hexadecimal digit");
    EXPECT_EQ(ParseHexBytes("1 103").error, "a lone digit before position 2");
    EXPECT_EQ(ParseHexBytes("  ").error, "no bytes");
}

}  // namespace
}  // namespace varelo
