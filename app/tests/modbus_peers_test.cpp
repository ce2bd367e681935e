// The MODBUS master against slaves it did not write: a libmodbus RTU slave and
// the varelo-sim program, each on the far end of a pseudo-terminal link.

#include "app/tests/libmodbus_slave.h"
#include "app/tests/modbus_window_fixture.h"
#include "app/tests/pty_link.h"
#include "app/tests/tag_frames.h"
#include "sim/tests/child_process.h"
#include "terminal/terminal_view.h"
#include "widgets/spin_edit.h"

#include <modbus/modbus-version.h>

#include <QLabel>

#include <cstdio>
#include <cstdlib>
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

TEST_F(ModbusPeersTest, ATagSessionReadsTheSimulatorsDemonstrationTag) {
    ChildProcess sim(VARELO_SIM_PATH, {link.farPath()});
    const std::optional<std::string> ready = sim.readLine(std::chrono::seconds(10));
    ASSERT_TRUE(ready && ready->rfind("varelo-sim: ", 0) == 0) << sim.errorOutput();
    start();

    click(window().LeerParvolin1);
    ASSERT_TRUE(runUntil([&] { return !tagWindow().Memo1->toPlainText().isEmpty(); }));
    const QStringList map = tagMap();
    ASSERT_EQ(map.size(), 17);
    EXPECT_EQ(map[1], "000|0|VARELO DEMO TAG ");
}

}  // namespace
}  // namespace varelo::test
