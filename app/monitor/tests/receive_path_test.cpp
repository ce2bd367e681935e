#include "app/monitor/receive_path.h"

#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/tests/monitor_fakes.h"
#include "util/run_time_errors.h"
#include "util/shared_state.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::RecordingView;
using testing::TempFile;

class FakeReceiveWindow final : public ReceiveWindow {
  public:
    bool return485 = true;
    int timerModBusStops = 0;
    std::vector<std::string> tagBlocks;
    std::string editLng = "untouched";

    bool Return485Checked() const override { return return485; }
    void StopTimerModBus() override { ++timerModBusStops; }
    void ProcessTagResponse(const std::string& block) override { tagBlocks.push_back(block); }
    void SetEditLng(const std::string& text) override { editLng = text; }
};

class ReceivePathTest : public ::testing::Test {
  protected:
    MonitorState state;
    SharedState shared;
    RecordingView view;
    CaptureFile capture;
    testing::FixedClock clock;
    FakeReceiveWindow window;
    ReceivePath path{state, shared, view, capture, clock, window};

    void startCapture(const std::string& file) {
        ASSERT_TRUE(capture.open(file));
        state.Capturing = true;
    }
    void sendEcho(const std::string& telegram) {
        shared.EchoTlg = telegram;
        shared.EchoPending = true;
    }
};

TEST_F(ReceivePathTest, ViewAndCaptureFileGetTheSameTextExceptTheHeadersLineEnd) {
    const struct {
        const char* name;
        bool skipLine;
        bool showTime;
        char port;
        TimeOfDay time;
        const char* view;
        const char* file;
    } cases[] = {
        {"header and time",
         true,
         true,
         '2',
         {14, 30, 5, 250},
         "\rP2->14:30:5:250 ->OK",
         "\r\nP2->14:30:5:250 ->OK"},
        {"short time padded",
         true,
         true,
         '1',
         {9, 5, 3, 7},
         "\rP1->9:5:3:7     ->OK",
         "\r\nP1->9:5:3:7     ->OK"},
        {"header only", true, false, '1', {9, 5, 3, 7}, "\rP1->OK", "\r\nP1->OK"},
        {"time without header is not shown", false, true, '2', {9, 5, 3, 7}, "OK", "OK"},
        {"no header", false, false, '2', {9, 5, 3, 7}, "OK", "OK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        MonitorState st;
        st.SkipLine = c.skipLine;
        st.ShowTime = c.showTime;
        RecordingView v;
        CaptureFile cf;
        ASSERT_TRUE(cf.open(file.path()));
        st.Capturing = true;
        testing::FixedClock clk;
        clk.time = c.time;
        ReceivePath p{st, shared, v, cf, clk, window};
        if (c.port == '1') {
            p.Port1ReceiveData("OK");
        } else {
            p.Port2ReceiveData("OK");
        }
        EXPECT_EQ(v.stream(), c.view);
        EXPECT_EQ(file.content(), c.file);
        EXPECT_EQ(shared.RxPort, std::string(1, c.port));
    }
}

TEST_F(ReceivePathTest, SuccessiveBlocksGoOneLinePerTelegramIntoTheCaptureFile) {
    TempFile file;
    startCapture(file.path());
    state.SkipLine = true;
    shared.EchoPending = false;
    path.Port1ReceiveData("A\r\n");
    path.Port2ReceiveData("B");
    EXPECT_EQ(file.content(), "\r\nP1->A(0D)(0A)\r\nP2->B") << "no line end after the last telegram";
}

TEST_F(ReceivePathTest, EachPortWritesInItsColoursThenBlackOnWhite) {
    state.SkipLine = true;
    path.Port1ReceiveData("A");
    path.Port2ReceiveData("B");
    ASSERT_EQ(view.pieces.size(), 4u);
    for (int i : {0, 1}) {
        EXPECT_EQ(view.pieces[i].textColour, colours::Red);
        EXPECT_EQ(view.pieces[i].backColour, colours::Aqua);
    }
    for (int i : {2, 3}) {
        EXPECT_EQ(view.pieces[i].textColour, colours::Black);
        EXPECT_EQ(view.pieces[i].backColour, colours::Lime);
    }
    EXPECT_EQ(view.textColour, colours::Black);
    EXPECT_EQ(view.backColour, colours::White);
}

TEST_F(ReceivePathTest, ABlockIsRenderedInTheModeInForceAndCounted) {
    state.RxCount = 10;
    path.Port1ReceiveData(std::string("AB\r\n", 4));
    state.CtrlMode = true;
    path.Port1ReceiveData(std::string("AB\r\n", 4));
    state.CtrlMode = false;
    state.HexMode = true;
    path.Port1ReceiveData(std::string("AB\r\n", 4));
    EXPECT_EQ(view.stream(), "AB(0D)(0A)AB<CR><LF>(41)(42)(0D)(0A)") << "blocks run on without headers";
    EXPECT_EQ(view.pieces.size(), 3u) << "one write per block";
    EXPECT_EQ(state.RxCount, 22);
    EXPECT_EQ(window.editLng, "22");
    EXPECT_EQ(window.timerModBusStops, 3);
}

TEST_F(ReceivePathTest, Port1LosesTheEchoOfTheLastSentTelegramInItsFirstBlockOnly) {
    const struct {
        const char* name;
        std::vector<std::string> blocks;
        const char* shown;
        std::int64_t counted;
    } cases[] = {
        {"exactly the echo", {"ABC"}, "", 0},
        {"echo and answer", {"ABCDE"}, "DE", 2},
        {"not the echo", {"XBCDE"}, "XBCDE", 5},
        {"echo split over two blocks", {"AB", "C"}, "ABC", 3},
        {"echo looked for once", {"ABC", "ABC"}, "ABC", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorState st;
        RecordingView v;
        ReceivePath p{st, shared, v, capture, clock, window};
        sendEcho("ABC");
        for (const auto& block : c.blocks) p.Port1ReceiveData(block);
        EXPECT_EQ(v.stream(), c.shown);
        EXPECT_EQ(st.RxCount, c.counted);
        EXPECT_FALSE(shared.EchoPending);
        EXPECT_EQ(shared.EchoTlg, "");
    }
}

TEST_F(ReceivePathTest, Port2LeavesThePendingEchoForPort1) {
    sendEcho("ABC");
    path.Port2ReceiveData("ABC");
    EXPECT_EQ(view.stream(), "ABC");
    EXPECT_TRUE(shared.EchoPending);
    path.Port1ReceiveData("ABCDE");
    EXPECT_EQ(view.stream(), "ABCDE");
}

TEST_F(ReceivePathTest, WithReturn485UncheckedNothingIsRemovedAndTheEchoStaysPending) {
    window.return485 = false;
    sendEcho("ABC");
    path.Port1ReceiveData("ABC");
    EXPECT_EQ(view.stream(), "ABC");
    EXPECT_TRUE(shared.EchoPending);
    EXPECT_EQ(shared.EchoTlg, "ABC");
}

TEST_F(ReceivePathTest, DuringATagSessionEveryBlockGoesToTheTagReaderEvenAnEmptiedOne) {
    shared.TagSession = true;
    sendEcho("ABC");
    path.Port1ReceiveData("ABC");
    path.Port2ReceiveData("XY");
    EXPECT_EQ(window.tagBlocks, (std::vector<std::string>{"", "XY"}));
    EXPECT_TRUE(view.pieces.empty());
    EXPECT_EQ(state.RxCount, 0);
    EXPECT_EQ(window.editLng, "untouched");
    EXPECT_EQ(shared.RxPort, "2");
}

TEST_F(ReceivePathTest, AFailedCaptureWriteEndsTheReceiptAndKeepsThePortsColours) {
    // Without headers the block reaches the view, then its capture write fails.
    startCapture("/dev/full");
    state.RxCount = 5;
    EXPECT_THROW(path.Port2ReceiveData("OK"), IoError);
    EXPECT_EQ(view.stream(), "OK");
    EXPECT_EQ(view.textColour, colours::Black);
    EXPECT_EQ(view.backColour, colours::Lime);
    EXPECT_EQ(window.editLng, "untouched");

    // With headers the header's capture write fails; the block still reaches the
    // view behind its header, and is counted, before the receipt ends.
    state.SkipLine = true;
    state.ShowTime = true;
    view.pieces.clear();
    EXPECT_THROW(path.Port1ReceiveData("OK"), IoError);
    EXPECT_EQ(view.stream().substr(0, 5), "\rP1->");
    EXPECT_EQ(view.stream().substr(view.stream().size() - 4), "->OK") << view.stream();
    EXPECT_EQ(state.RxCount, 9);
    EXPECT_EQ(view.textColour, colours::Red);
    EXPECT_EQ(window.editLng, "untouched");
}

}  // namespace
}  // namespace varelo
