// The MODBUS master against slaves it did not write: a libmodbus RTU slave and
// the varelo-sim program, each on the far end of a pseudo-terminal link.

#include "app/tests/libmodbus_slave.h"
#include "app/tests/modbus_window_fixture.h"
#include "app/tests/pty_link.h"
#include "app/tests/tag_frames.h"
#include "sim/demo_tag.h"
#include "sim/tests/child_process.h"
#include "terminal/terminal_view.h"
#include "widgets/spin_edit.h"

#include <modbus/modbus-version.h>

#include <QLabel>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace varelo::test {
namespace {

class ModbusPeersTest : public ModbusWindowTest {
  protected:
    void SetUp() override {
        ModbusWindowTest::SetUp();
        ASSERT_TRUE(link.ok());
        ::setenv("VARELO_COM1", link.nearPath().c_str(), 1);
    }

    // The rows of the monitor, blanks at the end cut.
    std::vector<std::string> screenRows() {
        std::vector<std::string> rows;
        const CrtScreen& screen = window().QVB->model();
        for (int y = 1; y <= screen.Rows(); ++y) {
            std::string row;
            for (int x = 1; x <= screen.Columns(); ++x) row += static_cast<char>(screen.cell(x, y).Ch);
            rows.push_back(row.substr(0, row.find_last_not_of(' ') + 1));
        }
        return rows;
    }

    // The first monitor row that starts with `start`, or nothing.
    std::string rowStartingWith(const std::string& start) {
        for (const std::string& row : screenRows())
            if (row.rfind(start, 0) == 0) return row;
        return {};
    }

    // varelo-sim on the far end with these arguments, once it says it is ready;
    // nothing if it does not.
    static std::unique_ptr<ChildProcess> startSimulator(const std::vector<std::string>& args) {
        auto sim = std::make_unique<ChildProcess>(VARELO_SIM_PATH, args);
        const std::optional<std::string> ready = sim->readLine(std::chrono::seconds(10));
        if (ready && ready->rfind("varelo-sim: ", 0) == 0) return sim;
        ADD_FAILURE() << "varelo-sim did not start: " << sim->errorOutput();
        return nullptr;
    }

    PtyLink link;
};

// The map window's lines for an image, as the map is documented to read.
QStringList expectedMap(const std::string& image) {
    QStringList lines{"-W-|H|0123456789ABCDEF"};
    for (int row = 0; row < 16; ++row) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%03d|%X|", 8 * row, row);
        lines << QString::fromLatin1(prefix + image.substr(16 * row, 16));
    }
    return lines;
}

TEST_F(ModbusPeersTest, ATagSessionReadsTheWholeTagOfALibmodbusSlave) {
    const std::string tag = sampleTag("LIBMODBUS");
    LibmodbusSlave::Registers holding;
    for (std::size_t i = 0; i < holding.size(); ++i)
        holding[i] = static_cast<std::uint16_t>(static_cast<unsigned char>(tag[2 * i]) |
                                                static_cast<unsigned char>(tag[2 * i + 1]) << 8);
    LibmodbusSlave slave(link.farPath(), 1, holding);
    ASSERT_TRUE(slave.serving());
    start();

    click(window().LeerParvolin1);
    ASSERT_TRUE(runUntil([&] { return !tagWindow().Memo1->toPlainText().isEmpty(); }))
        << "answers taken in: " << slave.answered();
    EXPECT_EQ(tagMap(), expectedMap(tag));
    EXPECT_EQ(tagWindow().LabelPaso->text(), "4");
}

// libmodbus answers function 17 with its own identification: the station, the
// function, a byte count, an identifier, the run indicator FF and "LMB" with
// its version.
TEST_F(ModbusPeersTest, AnRtuPollOfThreeStationsShowsTheLibmodbusAnswerOfItsStation) {
    LibmodbusSlave slave(link.farPath(), 2, {});
    ASSERT_TRUE(slave.serving());
    start();
    window().SEFrecuencia->setValue(600);
    boxes.inputAnswers = {"3"};

    click(window().PollingMODBUSRTU1);
    ASSERT_TRUE(runUntil([&] { return !rowStartingWith("P1->").empty(); }));
    click(window().Cortar1);

    const std::string answer = rowStartingWith("P1->");
    EXPECT_EQ(answer.rfind("P1->(02)(11)", 0), 0u) << answer;
    EXPECT_NE(answer.find("(FF)LMB" LIBMODBUS_VERSION_STRING), std::string::npos) << answer;
    EXPECT_EQ(rowStartingWith("P1<-"), "P1<-(01)(11)(C0),") << "the poll begins at station 1";
}

// The simulator's field bus: stations 1 to 6, the demonstration tag at station 1.
TEST_F(ModbusPeersTest, ATagSessionReadsTheSimulatorsDemonstrationTag) {
    const std::unique_ptr<ChildProcess> sim = startSimulator({link.farPath()});
    ASSERT_TRUE(sim);
    start();

    click(window().LeerParvolin1);
    ASSERT_TRUE(runUntil([&] { return !tagWindow().Memo1->toPlainText().isEmpty(); }));
    EXPECT_EQ(tagMap(), expectedMap(DemoTagImage()));
    EXPECT_EQ(tagWindow().LabelPaso->text(), "4");
}

// Each station answers function 17 with its station, the run indicator FF and
// "VARELO-SIM" with its number: one answer from each of the three stations.
TEST_F(ModbusPeersTest, AnRtuPollOfThreeStationsShowsTheAnswerOfEachSimulatedStation) {
    const std::unique_ptr<ChildProcess> sim = startSimulator({link.farPath()});
    ASSERT_TRUE(sim);
    start();
    window().SEFrecuencia->setValue(300);
    boxes.inputAnswers = {"3"};

    const auto answerOf = [&](int station) {
        const std::string header = "P1->(0" + std::to_string(station) + ")(11)(0E)(0" +
                                   std::to_string(station) + ")(FF)VARELO-SIM " + std::to_string(station);
        return rowStartingWith(header);
    };
    click(window().PollingMODBUSRTU1);
    ASSERT_TRUE(runUntil([&] { return !answerOf(3).empty(); })) << ::testing::PrintToString(screenRows());
    click(window().Cortar1);

    for (int station = 1; station <= 3; ++station)
        EXPECT_FALSE(answerOf(station).empty()) << "station " << station;
    for (const std::string& row : screenRows())
        if (row.rfind("P1->", 0) == 0) {
            EXPECT_NE(row.find("VARELO-SIM "), std::string::npos) << row;
        }
}

// The simulated scale on COM2's line: its weight lines show behind the port 2
// header, one line each, as "dd/mm/yyyy hh:mm", the weight right-aligned in 5
// characters with one decimal, " Kg" and the line end.
TEST_F(ModbusPeersTest, TheSimulatedScalesWeightLinesShowBehindThePort2Header) {
    ::setenv("VARELO_COM1", com1.slavePath().c_str(), 1);
    ::setenv("VARELO_COM2", link.nearPath().c_str(), 1);
    start();
    click(window().BloqueTlg);
    // Started after the program so that no lines pile up before it reads them.
    const std::unique_ptr<ChildProcess> sim =
        startSimulator({"--role", "scale", "--period", "200", link.farPath()});
    ASSERT_TRUE(sim);

    const std::regex weightLine(R"(P2->\d\d/\d\d/\d{4} \d\d:\d\d [ \d]{2}\d\.\d Kg\(0D\)\(0A\))");
    std::vector<std::string> lines;
    ASSERT_TRUE(runUntil([&] {
        lines.clear();
        for (const std::string& row : screenRows())
            if (row.rfind("P2->", 0) == 0) lines.push_back(row);
        return lines.size() >= 3;
    })) << ::testing::PrintToString(screenRows());
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, weightLine)) << line;
}

}  // namespace
}  // namespace varelo::test
