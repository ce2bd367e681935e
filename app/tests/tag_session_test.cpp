// The tag session between the reader and its window: what each kind of answer
// does to the lamps, the step count, the map, the next request and the retry timer.

#include "app/tag_session.h"
#include "app/tests/tag_frames.h"
#include "modbus/ui/tag_data_window.h"
#include "platform/form_timer.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/colour.h"
#include "util/shared_state.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace varelo::test {
namespace {

const std::string kRequest0 = hexBytes("01 03 00 00 00 20 44 12");
const std::string kRequest32 = hexBytes("01 03 00 20 00 20 45 D8");
const std::string kRequest64 = hexBytes("01 03 00 40 00 20 45 C6");
const std::string kRequest96 = hexBytes("01 03 00 60 00 20 44 0C");

class TagSessionTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "tag_session_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }

    // A session with station 1 as the start command leaves it.
    void SetUp() override {
        session.attachWindow(&window, [this] { ++stops; });
        session.prepare(1);
        session.initialize();
        shared.TagSession = true;
        session.begin();
    }

    void receive(const std::vector<std::string>& blocks) {
        for (const std::string& block : blocks) {
            retryTimer.setEnabled(false);  // as every receipt does
            session.ProcessTagResponse(block);
        }
    }
    std::string block(int n) const { return readResponse(1, blockData(tag, n)); }

    Colour led(TagLed which) const { return window.LedColour(which); }
    std::string label() const { return window.LabelPaso->text().toStdString(); }

    SharedState shared;
    ScriptedModalBoxes boxes;
    FormTimer retryTimer;
    TFormParvolin window;
    TagSession session{shared, boxes, retryTimer};
    int stops = 0;
    const std::string tag = sampleTag("SESSION");
};

TEST_F(TagSessionTest, AFullPassAsksForTheFourBlocksInTurnAndDrawsTheMapAfterTheLast) {
    std::vector<std::string> requests{shared.TlgToSend};
    std::vector<std::string> labels;
    for (int n = 0; n < 4; ++n) {
        EXPECT_TRUE(window.Memo1->toPlainText().isEmpty()) << "no map before the pass is complete";
        receive({block(n)});
        requests.push_back(shared.TlgToSend);
        labels.push_back(label());
        EXPECT_EQ(led(TagLed::Amarillo), colours::Yellow);
        EXPECT_EQ(led(TagLed::Verde), colours::Lime);
    }
    EXPECT_EQ(requests, (std::vector<std::string>{kRequest0, kRequest32, kRequest64, kRequest96, kRequest0}));
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "3", "4"}));
    const QStringList map = window.Memo1->toPlainText().split('\n');
    ASSERT_EQ(map.size(), 17);
    EXPECT_EQ(map[0], "-W-|H|0123456789ABCDEF");
    EXPECT_EQ(map[1], "000|0|SESSION ROW 0...");
    EXPECT_EQ(map[16], "120|F|SESSION ROW F...");
    EXPECT_FALSE(retryTimer.enabled());
}

// Each case starts a session at block 0 with a good first block already taken in
// when `afterFirstBlock` says so, then receives the blocks and reads the window.
struct Fault {
    const char* what;
    bool afterFirstBlock;
    std::vector<std::string> blocks;
    std::int32_t tagAddress;
    std::string label;
    Colour rojo, amarillo, verde;
    std::int32_t crcErrors;
    bool waitsForRest;  // the retry timer runs
    std::string rxBuffer;
};

std::string withBadCrc(std::string frame) {
    frame.back() = static_cast<char>(frame.back() ^ 0x01);
    return frame;
}

TEST_F(TagSessionTest, FaultsOnTheLineAreTakenInAsTheReaderSays) {
    const std::string first = block(0);
    const std::string second = block(1);
    const std::string otherStation = readResponse(2, blockData(tag, 0));
    std::string otherFunction = first;
    otherFunction[1] = '\x04';
    const std::string exception = [] {
        const std::string frame = hexBytes("01 83 02");
        return frame + ModbusCrc16(frame);
    }();
    const Colour S = colours::Silver, R = colours::Red, Y = colours::Yellow, G = colours::Lime;

    const std::vector<Fault> faults = {
        {"split in pieces of 1, 2 and 66 bytes",
         false,
         {first.substr(0, 1), first.substr(1, 2), first.substr(3)},
         32,
         "1",
         S,
         Y,
         G,
         0,
         false,
         ""},
        {"only a start", false, {first.substr(0, 2)}, 0, "", S, S, S, 0, true, first.substr(0, 2)},
        {"header without all the data",
         false,
         {first.substr(0, 40)},
         0,
         "",
         S,
         S,
         S,
         0,
         true,
         first.substr(0, 40)},
        {"two responses in one block: the second is dropped",
         false,
         {first + second},
         32,
         "1",
         S,
         Y,
         G,
         0,
         false,
         ""},
        {"another station's answer is dropped", false, {otherStation}, 0, "", S, S, S, 0, false, ""},
        {"another function is dropped", false, {otherFunction}, 0, "", S, S, S, 0, false, ""},
        {"an exception restarts the pass", true, {exception}, 0, "0", S, S, S, 0, false, ""},
        {"a bad CRC asks for the block again", true, {withBadCrc(second)}, 32, "1", R, Y, G, 1, false, ""},
        {"the fourth bad CRC in a row restarts the pass",
         true,
         {withBadCrc(second), withBadCrc(second), withBadCrc(second), withBadCrc(second)},
         0,
         "1",
         S,
         S,
         S,
         4,
         false,
         ""},
        {"the echo of the request fails the CRC", false, {kRequest0}, 0, "", R, S, S, 1, false, ""},
        {"an empty block (an echo removed whole) waits", false, {""}, 0, "", S, S, S, 0, true, ""},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        SetUp();
        window.SetLabelPaso("");
        shared.TagCrcErrors = 0;
        if (f.afterFirstBlock) receive({first});
        receive(f.blocks);
        EXPECT_EQ(shared.TagAddress, f.tagAddress);
        EXPECT_EQ(label(), f.label);
        EXPECT_EQ(led(TagLed::Rojo), f.rojo);
        EXPECT_EQ(led(TagLed::Amarillo), f.amarillo);
        EXPECT_EQ(led(TagLed::Verde), f.verde);
        EXPECT_EQ(shared.TagCrcErrors, f.crcErrors);
        EXPECT_EQ(retryTimer.enabled(), f.waitsForRest);
        EXPECT_EQ(shared.TagRxBuffer, f.rxBuffer);
        EXPECT_EQ(shared.TlgToSend, f.tagAddress == 0 ? kRequest0 : kRequest32) << "the block expected";
    }
}

TEST_F(TagSessionTest, ARestartedPassEmptiesTheMapItWasBuilding) {
    receive({block(0), block(1)});
    ASSERT_EQ(shared.TagMap.size(), 128u);
    receive({hexBytes("01 83 02") + ModbusCrc16(hexBytes("01 83 02"))});
    EXPECT_TRUE(shared.TagMap.empty());
    for (int n = 0; n < 4; ++n) receive({block(n)});
    EXPECT_EQ(shared.TagMap, tag) << "the next pass is whole";
}

// Nothing ties an answer to the request it answers: an answer that comes late,
// after the next block was asked for, is taken as that next block.
TEST_F(TagSessionTest, ALateAnswerIsTakenAsTheBlockAskedForNext) {
    receive({block(0), block(0)});
    EXPECT_EQ(shared.TagAddress, 64);
    EXPECT_EQ(shared.TagMap.substr(64, 64), tag.substr(0, 64));
}

TEST_F(TagSessionTest, SilenceInTheMiddleOfAResponseAsksForTheBlockAgainKeepingWhatCame) {
    receive({block(0), block(1).substr(0, 10)});
    ASSERT_TRUE(retryTimer.enabled());
    shared.TlgToSend = "something else";
    retryTimer.fire();
    EXPECT_EQ(shared.TlgToSend, kRequest32);
    EXPECT_FALSE(retryTimer.enabled());
    EXPECT_EQ(shared.TagRxBuffer, block(1).substr(0, 10));
}

TEST_F(TagSessionTest, InicializarRestartsThePassAndOkStopsTheSessionThenCloses) {
    receive({block(0), withBadCrc(block(1))});
    window.show();
    window.BF1->click();
    EXPECT_EQ(shared.TlgToSend, kRequest0);
    EXPECT_TRUE(shared.TagMap.empty());
    EXPECT_EQ(led(TagLed::Rojo), colours::Silver);
    EXPECT_EQ(shared.TagCrcErrors, 1) << "only a good or refused answer clears the count";
    EXPECT_EQ(stops, 0);

    window.BitBtn1->click();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TagSessionTest, TheSchedulerBlinksTheActivityLampAndPutsTheStepLampsOut) {
    receive({withBadCrc(block(0))});
    window.SetLed(TagLed::Amarillo, colours::Yellow);
    session.ToggleTagLed();
    EXPECT_EQ(led(TagLed::Azul), colours::Blue);
    session.ToggleTagLed();
    EXPECT_EQ(led(TagLed::Azul), colours::Silver);
    window.SetLed(TagLed::Verde, colours::Lime);
    session.SetLampsSilver();
    EXPECT_EQ(led(TagLed::Rojo), colours::Silver);
    EXPECT_EQ(led(TagLed::Amarillo), colours::Silver);
    EXPECT_EQ(led(TagLed::Verde), colours::Lime) << "the green lamp stays until a refusal";
}

}  // namespace
}  // namespace varelo::test
