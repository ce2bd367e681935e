// Framing by silence, delimiter and length, on records with chosen stamps, read
// back through varelo-trace's own replay: no timing is involved.
#include "trace/record_file.h"
#include "trace/tests/trace_test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace varelo::test {
namespace {

struct Block {
    int line;
    double atMs;  // from the first block
    std::string hex;
};

struct FramingCase {
    const char* name;
    std::vector<std::string> settings;  // per line, e.g. "9600,8E1"
    std::string options;
    std::vector<Block> blocks;
    std::vector<std::string> telegrams;  // "line:hex" or "line:hex:flags", in output order
    friend void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }
};

// 9600 8E1: 11 bits a character, 1.1458 ms; 3.5 characters are 4.0104 ms.
// 115200 8N1: 10 bits, 86.81 us; 3.5 characters are 303.8 us.
const FramingCase kCases[] = {
    {"Under3p5CharsAt9600_8E1StaysOneTelegram", {"9600,8E1"}, "", {{0, 0, "01"}, {0, 4.000, "02"}}, {"1:0102"}},
    {"Over3p5CharsAt9600_8E1Splits", {"9600,8E1"}, "", {{0, 0, "01"}, {0, 4.020, "02"}}, {"1:01", "1:02"}},
    {"Under3p5CharsAt115200_8N1StaysOneTelegram", {"115200,8N1"}, "", {{0, 0, "0a0b"}, {0, 0.300, "0c"}}, {"1:0a0b0c"}},
    {"Over3p5CharsAt115200_8N1Splits", {"115200,8N1"}, "", {{0, 0, "0a0b"}, {0, 0.308, "0c"}}, {"1:0a0b", "1:0c"}},
    {"GapCountsFromTheLastBlockNotTheFirst",
     {"115200,8N1"}, "", {{0, 0, "01"}, {0, 0.25, "02"}, {0, 0.50, "03"}, {0, 0.75, "04"}}, {"1:01020304"}},
    {"GapInMilliseconds", {"9600,8N1"}, "--gap-ms 10", {{0, 0, "01"}, {0, 9.9, "02"}, {0, 20.1, "03"}}, {"1:0102", "1:03"}},
    {"DelimiterEndsTelegramAcrossBlocks",
     {"9600,8N1"}, "--end 0D0A", {{0, 0, "41420d"}, {0, 0.1, "0a43"}, {0, 0.2, "0d"}, {0, 0.3, "440d0a"}},
     {"1:41420d0a", "1:430d440d0a"}},
    {"DelimiterAndSilenceBothEnd", {"9600,8N1"}, "--end 0A", {{0, 0, "4142"}, {0, 50, "430a"}}, {"1:4142", "1:430a"}},
    {"LengthCapCutsAndMarks",
     {"9600,8N1"}, "--max 4", {{0, 0, "0102030405"}, {0, 1, "060708090a"}},
     {"1:01020304:\"cut\"", "1:05060708:\"cut\",\"continued\"", "1:090a:\"continued\""}},
    {"GapZeroGivesEveryBlockItsOwnTelegram",
     {"9600,8N1"}, "--gap 0", {{0, 0, "01"}, {0, 0.001, "02"}, {0, 0.002, "0304"}}, {"1:01", "1:02", "1:0304"}},
    {"TwoLinesInTheOrderTheyBegan",
     {"9600,8N1", "9600,8N1"}, "--gap-ms 5",
     {{0, 0, "01"}, {1, 1, "a1"}, {0, 2, "02"}, {1, 3, "a2"}, {1, 20, "b1"}, {0, 21, "11"}},
     {"1:0102", "2:a1a2", "2:b1", "1:11"}},
};

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}


std::string WriteRecord(const TempDir& dir, const FramingCase& c) {
    RecordHeader header;
    header.wallOffset = 1'765'000'000'000'000'000;
    for (std::size_t i = 0; i < c.settings.size(); ++i) {
        header.lines.push_back({"/dev/line" + std::to_string(i + 1), *ParseSettingString(c.settings[i])});
    }
    const std::string path = dir.file("case.vtr");
    RecordWriter writer;
    EXPECT_FALSE(writer.open(path, header));
    const KernelStamp base = 5'000'000'000;
    for (const Block& b : c.blocks) {
        const std::string bytes = Unhex(b.hex);
        writer.block(b.line, base + static_cast<KernelStamp>(b.atMs * 1e6),
                     {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    EXPECT_TRUE(writer.close());
    return path;
}

class ReplayFraming : public testing::TestWithParam<FramingCase> {};

TEST_P(ReplayFraming, CutsTheRecordedBlocksIntoTheseTelegrams) {
    const FramingCase& c = GetParam();
    TempDir dir;
    const std::string record = WriteRecord(dir, c);
    const CommandResult run = RunForOutput(kTrace + " --replay " + record + " --json " + c.options);
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    std::vector<std::string> seen;
    for (const JsonLine& line : ParseJsonLines(run.output)) {
        seen.push_back(std::to_string(line.line) + ":" + line.bytes + (line.flags.empty() ? "" : ":" + line.flags));
    }
    EXPECT_EQ(seen, c.telegrams) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplayFraming, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FramingCase>& param) { return param.param.name; });

// The same record gives the same telegrams in every output, with the stamps and
// gaps it was recorded with.
TEST(Replay, KeepsTheRecordedTimesAndGaps) {
    TempDir dir;
    const std::string record =
        WriteRecord(dir, {"", {"9600,8N1"}, "", {{0, 0, "01"}, {0, 1000.5, "02"}}, {}});
    const CommandResult json = RunForOutput(kTrace + " --replay " + record + " --json");
    const std::vector<JsonLine> lines = ParseJsonLines(json.output);
    ASSERT_EQ(lines.size(), 2u) << json.output;
    EXPECT_EQ(lines[0].timeUs, 1'765'000'005'000'000);
    EXPECT_EQ(lines[1].timeUs - lines[0].timeUs, 1'000'500);
    EXPECT_EQ(lines[1].gapUs, 1'000'500);

    const CommandResult csv = RunForOutput(kTrace + " --replay " + record + " --csv");
    EXPECT_EQ(csv.output,
              "time_us,line,name,event,gap_us,gap_any_us,length,bytes,flags,detail\n"
              "1765000005000000,1,/dev/line1,telegram,,,1,01,,\n"
              "1765000006000500,1,/dev/line1,telegram,1000500,1000500,1,02,,\n");
}

// A record that is cut short, of another version, or no record at all.
TEST(Replay, RefusesWhatIsNoRecordAndReplaysACutRecordToItsLastWholeBlock) {
    TempDir dir;
    const std::string record =
        WriteRecord(dir, {"", {"9600,8N1"}, "--gap 0", {{0, 0, "0102"}, {0, 10, "0304"}, {0, 20, "05060708"}}, {}});
    std::filesystem::resize_file(record, std::filesystem::file_size(record) - 2);
    const CommandResult cut = runCommand(kTrace + " --replay " + record + " --json --gap 0");
    EXPECT_EQ(cut.exitStatus, 1);
    EXPECT_NE(cut.output.find("\"bytes\":\"0102\""), std::string::npos) << cut.output;
    EXPECT_NE(cut.output.find("\"bytes\":\"0304\""), std::string::npos) << cut.output;
    EXPECT_EQ(cut.output.find("0506"), std::string::npos) << cut.output;
    EXPECT_NE(cut.output.find("replayed up to the last whole block"), std::string::npos) << cut.output;

    std::string bytes;
    {
        std::ifstream in(record, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    bytes[8] = 7;  // the version
    const std::string other = dir.file("other.vtr");
    std::ofstream(other, std::ios::binary) << bytes;
    const std::string text = dir.file("text.vtr");
    std::ofstream(text) << "01 03 00 00\n";
    struct Refusal {
        std::string path;
        std::string says;
    };
    for (const Refusal& r : {Refusal{other, "version 7; this program reads version 1"},
                             Refusal{text, "not a varelo-trace record"}, Refusal{dir.file("none.vtr"), "No such file"}}) {
        const CommandResult run = runCommand(kTrace + " --replay " + r.path);
        EXPECT_EQ(run.exitStatus, 2) << r.path;
        EXPECT_EQ(run.output.rfind("varelo-trace: " + r.path + ": ", 0), 0u) << run.output;
        EXPECT_NE(run.output.find(r.says), std::string::npos) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    }
}

}  // namespace
}  // namespace varelo::test
