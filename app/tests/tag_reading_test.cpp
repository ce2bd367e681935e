// The Send menu's tag reading command through the main window: how it sets up
// the line, the scheduler and the tag data window, and a session driven over a
// pseudo-terminal with answers cut into pieces, silences and a port that will
// not open.

#include "app/tests/modbus_window_fixture.h"
#include "app/tests/tag_frames.h"
#include "terminal/terminal_view.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

using Shown = ScriptedModalBoxes::Shown;

const std::string kRequest0 = hexBytes("01 03 00 00 00 20 44 12");
const std::string kRequest32 = hexBytes("01 03 00 20 00 20 45 D8");

class TagReadingTest : public ModbusWindowTest {
  protected:
    // Starts a session of station 1; the test then ticks the scheduler itself.
    void startSession() {
        click(window().LeerParvolin1);
        window().SEFrecuencia->setValue(10000000);
    }
    // Bytes from the reader, delivered once `arrived` holds.
    void reply(const std::string& bytes, const std::function<bool()>& arrived) {
        ASSERT_TRUE(com1.writeAll(bytes));
        ASSERT_TRUE(runUntil(arrived));
    }
    // One tick of the scheduler: what went out on the line.
    std::string tick() {
        window().Timer1.fire();
        return com1.readAvailable();
    }
    std::string screenText() {
        std::string text;
        const CrtScreen& screen = window().QVB->model();
        for (int y = 1; y <= screen.Rows(); ++y)
            for (int x = 1; x <= screen.Columns(); ++x) text += static_cast<char>(screen.cell(x, y).Ch);
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }

    const std::string tag = sampleTag("PIECES");
};

TEST_F(TagReadingTest, StartingSetsTheLineThePaceAndTheEchoRemovalThenShowsTheWindow) {
    start();
    window().resize(700, 500);
    window().CBReflejo->setChecked(false);
    window().Port1.SetParity(ptEVEN);

    click(window().LeerParvolin1);

    EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"input", "Parvolin|Station Number|1"}}));
    EXPECT_EQ(window().Port1.DataBits(), db8BITS);
    EXPECT_EQ(window().Port1.Parity(), ptODD);
    EXPECT_EQ(window().Port1.StopBits(), sb1BITS);
    EXPECT_EQ(window().Port1.BaudRate(), br9600);
    EXPECT_EQ(window().frameGeometry().size(), QSize(640, 480));
    EXPECT_EQ(window().EditTlg->text(), "Parvolin-ModBusRTU");
    EXPECT_EQ(window().State.TlgType, 0u);
    EXPECT_EQ(window().SEFrecuencia->value(), 400);
    EXPECT_EQ(window().Timer1.interval(), 400);
    EXPECT_EQ(window().SEDelay->value(), 10);
    EXPECT_EQ(window().Port1.PollingDelay(), 10);
    EXPECT_EQ(window().Port2.PollingDelay(), 10);
    EXPECT_TRUE(window().CBReflejo->isChecked());
    EXPECT_TRUE(window().State.Sending);
    EXPECT_TRUE(window().Timer1.enabled());
    EXPECT_TRUE(shared.TagSession);
    EXPECT_EQ(shared.TlgToSend, kRequest0);
    EXPECT_TRUE(window().State.SkipLine);
    EXPECT_TRUE(tagWindow().isVisible());
}

TEST_F(TagReadingTest, TheStationAnswerIsHeldToTheSlaveRange) {
    const std::pair<const char*, int> answers[] = {{"", 1}, {"0", 1}, {"12", 12}, {"300", 247}};
    for (const auto& [answer, station] : answers) {
        SCOPED_TRACE(answer);
        windows.reset();
        start();
        boxes.inputAnswers = {answer};
        click(window().LeerParvolin1);
        EXPECT_EQ(shared.TagStation, station);
        ASSERT_FALSE(shared.TlgToSend.empty());
        EXPECT_EQ(static_cast<unsigned char>(shared.TlgToSend[0]), station);
    }
}

// The port is set, the window resized and the telegram named; nothing else.
TEST_F(TagReadingTest, AStationThatIsNoNumberEndsTheCommandWithTheConversionError) {
    start();
    window().CBReflejo->setChecked(false);
    boxes.inputAnswers = {"-"};
    click(window().LeerParvolin1);

    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"'-' is not a valid integer value"});
    EXPECT_EQ(window().Port1.Parity(), ptODD);
    EXPECT_EQ(window().EditTlg->text(), "Parvolin-ModBusRTU");
    EXPECT_EQ(window().SEFrecuencia->value(), 1000);
    EXPECT_FALSE(window().CBReflejo->isChecked());
    EXPECT_FALSE(shared.TagSession);
    EXPECT_FALSE(window().State.Sending);
    EXPECT_FALSE(tagWindow().isVisible());
}

// Nothing can be sent, but the session is set and the window shown, so what
// comes in on the other, open port is still read as the reader's answers.
TEST_F(TagReadingTest, APortThatCannotBeOpenedIsReportedAndTheSessionStillListens) {
    start();
    click(window().CerrarPuerto1);
    TCommPortDriver other;
    other.SetPortName(com1.slavePath());
    ASSERT_TRUE(other.Connect());

    click(window().LeerParvolin1);
    EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"message", "Unable to open port 1"},
                                               {"input", "Parvolin|Station Number|1"},
                                               {"message", "Port 1 is not open"}}));
    EXPECT_TRUE(shared.TagSession);
    EXPECT_TRUE(tagWindow().isVisible());
    EXPECT_FALSE(window().State.Sending);

    ASSERT_TRUE(com2.writeAll(readResponse(1, blockData(tag, 0))));
    EXPECT_TRUE(runUntil([&] { return shared.TagAddress == 32; }));
    EXPECT_EQ(tagWindow().LabelPaso->text(), "1");
}

TEST_F(TagReadingTest, APassOverTheLineWithAnswersInPiecesAndNothingOnTheMonitor) {
    start();
    startSession();
    EXPECT_EQ(tick(), kRequest0);
    EXPECT_EQ(tagWindow().LedColour(TagLed::Azul), colours::Blue);
    EXPECT_EQ(tick(), kRequest0) << "unanswered: asked again at the next tick";
    EXPECT_EQ(tagWindow().LedColour(TagLed::Azul), colours::Silver);

    const std::string first = readResponse(1, blockData(tag, 0));
    reply(first.substr(0, 1), [&] { return shared.TagRxBuffer.size() == 1; });
    EXPECT_TRUE(window().TimerModBus.enabled()) << "waiting for the rest";
    reply(first.substr(1, 2), [&] { return shared.TagRxBuffer.size() == 3; });
    reply(first.substr(3), [&] { return shared.TagAddress == 32; });
    EXPECT_FALSE(window().TimerModBus.enabled());
    EXPECT_EQ(tagWindow().LabelPaso->text(), "1");
    EXPECT_EQ(tagWindow().LedColour(TagLed::Amarillo), colours::Yellow);

    EXPECT_EQ(tick(), kRequest32);
    EXPECT_EQ(tagWindow().LedColour(TagLed::Amarillo), colours::Silver) << "put out at every tick";
    for (int n = 1; n < 4; ++n) {
        if (n > 1) tick();
        reply(readResponse(1, blockData(tag, n)), [&] { return shared.TagAddress == (n + 1) % 4 * 32; });
    }
    EXPECT_EQ(tagWindow().LabelPaso->text(), "4");
    const QStringList map = tagMap();
    ASSERT_EQ(map.size(), 17);
    EXPECT_EQ(map[1], "000|0|PIECES ROW 0....");
    EXPECT_EQ(tick(), kRequest0) << "the next pass starts at once";

    EXPECT_EQ(screenText(), "") << "neither requests nor answers reach the monitor";
    EXPECT_EQ(window().State.RxCount, 0);
}

TEST_F(TagReadingTest, AResponseThatStopsHalfWayIsAskedForAgainKeepingWhatCame) {
    start();
    startSession();
    tick();
    const std::string first = readResponse(1, blockData(tag, 0));
    reply(first.substr(0, 10), [&] { return shared.TagRxBuffer.size() == 10; });
    ASSERT_TRUE(window().TimerModBus.enabled());
    shared.TlgToSend.clear();

    window().TimerModBus.fire();
    EXPECT_EQ(shared.TlgToSend, kRequest0);
    EXPECT_FALSE(window().TimerModBus.enabled());
    reply(first.substr(10), [&] { return shared.TagAddress == 32; });
}

TEST_F(TagReadingTest, OkStopsSendingAndClosesTheWindow) {
    start();
    click(window().LeerParvolin1);
    window().resize(700, 500);
    tagWindow().BitBtn1->click();

    EXPECT_FALSE(shared.TagSession);
    EXPECT_FALSE(window().State.Sending);
    EXPECT_FALSE(window().Timer1.enabled());
    EXPECT_EQ(window().EditTlg->text(), "");
    EXPECT_EQ(window().frameGeometry().size(), QSize(640, 480));
    EXPECT_FALSE(tagWindow().isVisible());

    ASSERT_TRUE(com1.writeAll("after"));
    EXPECT_TRUE(runUntil([&] { return window().State.RxCount == 5; })) << "received data is shown again";
}

}  // namespace
}  // namespace varelo::test
