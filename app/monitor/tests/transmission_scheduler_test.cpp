#include "app/monitor/transmission_scheduler.h"

#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/telegram_builders.h"
#include "app/monitor/tests/monitor_fakes.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/run_time_errors.h"
#include "util/shared_state.h"

#include <gtest/gtest.h>

#include <utility>

namespace varelo {
namespace {

using testing::FixedRegional;
using testing::RecordingView;
using testing::TempFile;

class FakeSchedulerWindow final : public SchedulerWindow {
  public:
    char selectedPort = '1';
    bool port1Open = true;
    bool port2Open = true;
    bool return485 = true;
    bool timer1 = false;
    int intervalReads = 0;
    int lampResets = 0;
    int tagLedToggles = 0;
    std::vector<std::pair<char, std::string>> sent;

    char SelectedPort() const override { return selectedPort; }
    bool PortOpen(char port) const override { return port == '1' ? port1Open : port2Open; }
    bool Return485Checked() const override { return return485; }
    bool Timer1Enabled() const override { return timer1; }
    void SetTimer1Enabled(bool enabled) override { timer1 = enabled; }
    void EditTiempoChange() override { ++intervalReads; }
    void SendString(char port, const std::string& telegram) override { sent.emplace_back(port, telegram); }
    void SetTagLampsSilver() override { ++lampResets; }
    void ToggleTagLed() override { ++tagLedToggles; }
};

class SchedulerTest : public ::testing::Test {
  protected:
    MonitorState state;
    SharedState shared;
    FixedRegional regional;
    TelegramBuilders builders{state, shared, regional};
    RecordingView view;
    CaptureFile capture;
    FakeSchedulerWindow window;
    ScriptedModalBoxes boxes;
    TransmissionScheduler scheduler{state, shared, builders, view, capture, window, boxes};

    void start(std::uint32_t type) {
        state.TlgType = type;
        ASSERT_TRUE(scheduler.StartSending());
    }
};

TEST_F(SchedulerTest, StartChecksTheChosenPortAndStopReturnsToIdle) {
    EXPECT_EQ(scheduler.State(), SchedulerState::Idle);
    window.selectedPort = '2';
    window.port2Open = false;
    EXPECT_FALSE(scheduler.StartSending());
    EXPECT_EQ(boxes.texts("message"), (std::vector<std::string>{"Port 2 is not open"}));
    EXPECT_EQ(scheduler.State(), SchedulerState::Idle);
    EXPECT_EQ(window.intervalReads, 0);

    window.selectedPort = '1';
    shared.TagSession = true;
    EXPECT_TRUE(scheduler.StartSending());
    EXPECT_EQ(scheduler.State(), SchedulerState::Running);
    EXPECT_EQ(window.intervalReads, 1);
    EXPECT_FALSE(shared.TagSession);

    window.port1Open = false;
    EXPECT_FALSE(scheduler.StartSending());
    EXPECT_EQ(boxes.texts("message").back(), "Port 1 is not open");
    EXPECT_EQ(scheduler.State(), SchedulerState::Running) << "a refused start keeps the scheduler running";

    shared.TagSession = true;
    scheduler.Stop();
    EXPECT_EQ(scheduler.State(), SchedulerState::Idle);
    EXPECT_FALSE(window.timer1);
    EXPECT_FALSE(shared.TagSession);
}

TEST_F(SchedulerTest, ATickBuildsSendsKeepsTheEchoAndShowsTheTelegramBehindItsHeader) {
    TempFile file;
    ASSERT_TRUE(capture.open(file.path()));
    state.Capturing = true;
    state.SkipLine = true;
    start(2);
    scheduler.Timer1Timer();
    scheduler.Timer1Timer();
    EXPECT_EQ(window.sent,
              (std::vector<std::pair<char, std::string>>{{'1', "XL123456789"}, {'1', "YL123456788"}}));
    EXPECT_EQ(shared.EchoTlg, "YL123456788");
    EXPECT_TRUE(shared.EchoPending);
    EXPECT_EQ(view.stream(), "\rP1<-XL123456789\rP1<-YL123456788");
    EXPECT_EQ(file.content(), "\r\nP1<-XL123456789\r\nP1<-YL123456788");
    EXPECT_EQ(window.lampResets, 2);
    EXPECT_EQ(scheduler.State(), SchedulerState::Running);
}

TEST_F(SchedulerTest, SentBytesShownAsThemselvesGoOneByOneAndTheRestAsTexts) {
    state.CtrlMode = true;
    window.selectedPort = '2';
    window.return485 = false;
    start(1);
    state.SkipLine = true;
    scheduler.Timer1Timer();
    EXPECT_EQ(window.sent.at(0).first, '2');
    EXPECT_FALSE(shared.EchoPending) << "no echo kept with Return 485 unchecked";
    EXPECT_EQ(view.stream(), "\rP2<-09/12/2026 14:30:05<CR><LF>");
    const auto& pieces = view.pieces;
    ASSERT_EQ(pieces.size(), 1u + 19u + 2u);
    EXPECT_FALSE(pieces.front().byWriteChar) << "the header";
    for (std::size_t i = 1; i <= 19; ++i) EXPECT_TRUE(pieces[i].byWriteChar);
    EXPECT_FALSE(pieces[20].byWriteChar);
    EXPECT_FALSE(pieces[21].byWriteChar);
    EXPECT_EQ(state.CurrentByte, '\n');
    EXPECT_EQ(state.RxCount, 0) << "sent bytes are not counted";
}

TEST_F(SchedulerTest, HexaShowsEverySentByteInHexadecimalWithoutHeaderWhenLinesAreOff) {
    state.HexMode = true;
    shared.TlgToSend = "A\x01";
    start(0);
    scheduler.Timer1Timer();
    scheduler.Timer1Timer();
    EXPECT_EQ(view.stream(), "(41)(01)(41)(01)") << "consecutive telegrams run on";
}

TEST_F(SchedulerTest, EachTypeBuildsItsTelegramBeforeTheSend) {
    const struct {
        std::uint32_t type;
        std::string sent;
    } cases[] = {
        {0, "KEEP"},        {1, "09/12/2026 14:30:05\r\n"},
        {2, "XL123456789"}, {5, std::string("\x10\x05\x01", 3)},
        {6, ":0111EE\r\n"}, {7, "\x01\x11\xC0\x2C"},
        {8, "KEEP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        MonitorState st;
        st.SkipLine = true;
        st.StationCount = 6;
        SharedState sh;
        sh.TlgToSend = "KEEP";
        TelegramBuilders b{st, sh, regional};
        FakeSchedulerWindow w;
        TransmissionScheduler s{st, sh, b, view, capture, w, boxes};
        st.TlgType = c.type;
        ASSERT_TRUE(s.StartSending());
        s.Timer1Timer();
        ASSERT_EQ(w.sent.size(), 1u);
        EXPECT_EQ(w.sent[0].second, c.sent);
    }
}

TEST_F(SchedulerTest, AnEmptyTelegramHaltsTheSchedulerUntilStop) {
    start(0);
    scheduler.Timer1Timer();
    EXPECT_TRUE(window.sent.empty());
    EXPECT_TRUE(view.pieces.empty());
    EXPECT_FALSE(shared.EchoPending);
    EXPECT_EQ(scheduler.State(), SchedulerState::Halted);
    scheduler.Stop();
    EXPECT_EQ(scheduler.State(), SchedulerState::Idle);
    scheduler.Timer1Timer();
    EXPECT_EQ(window.lampResets, 1) << "a tick while not sending does nothing";
}

TEST_F(SchedulerTest, ATagSessionSendsWithoutEchoAndTogglesTheTagLamp) {
    state.SkipLine = true;
    shared.TlgToSend = "\x01\x03";
    start(0);
    shared.TagSession = true;
    scheduler.Timer1Timer();
    EXPECT_EQ(window.sent.size(), 1u);
    EXPECT_EQ(window.tagLedToggles, 1);
    EXPECT_TRUE(view.pieces.empty());
    EXPECT_EQ(shared.EchoTlg, "\x01\x03") << "the echo is still kept for removal";
    EXPECT_EQ(scheduler.State(), SchedulerState::Running);
}

TEST_F(SchedulerTest, AFailedCaptureWriteLeavesTheSchedulerHalted) {
    ASSERT_TRUE(capture.open("/dev/full"));
    state.Capturing = true;
    start(2);
    EXPECT_THROW(scheduler.Timer1Timer(), IoError);
    EXPECT_EQ(window.sent.size(), 1u) << "the telegram went out before the echo failed";
    EXPECT_EQ(scheduler.State(), SchedulerState::Halted);
    EXPECT_TRUE(scheduler.StartSending());
    EXPECT_EQ(scheduler.State(), SchedulerState::Running);
}

}  // namespace
}  // namespace varelo
