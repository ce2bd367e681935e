#include "app/monitor/byte_rendering.h"
#include "app/system_regional_settings.h"
#include "app/tests/monitor_window_fixture.h"
#include "widgets/spin_edit.h"

#include <QLineEdit>
#include <QRadioButton>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

using Sending = MonitorWindowTest;

// The far end's bytes, cut after each CR LF.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(bytes.substr(from, end + 2 - from));
    return lines;
}

TEST_F(Sending, DateAndHourGoesOutEveryPeriodAndIsEchoedAndCapturedAsSent) {
    startCapture(path("capture.txt"));
    window().SEFrecuencia->setValue(50);
    click(window().FechayHora1);
    EXPECT_EQ(window().EditTlg->text(), "Fecha - Hora");
    EXPECT_TRUE(window().State.SkipLine) << "one telegram per line is switched on";
    EXPECT_EQ(window().Timer1.interval(), 50);

    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com1.readAvailable();
        return linesOf(far).size() >= 5;
    }));
    click(window().Cortar1);
    EXPECT_EQ(window().EditTlg->text(), "");
    EXPECT_FALSE(window().State.Sending);
    runFor(120);
    far += com1.readAvailable();

    // The far end got whole lines only, each "date time" CR LF of today, and the
    // capture holds each of them behind its sent header, as the view rendered it.
    const std::vector<std::string> lines = linesOf(far);
    std::string joined, expectedCapture;
    const std::string today = SystemRegionalSettings().ShortDateText() + " ";
    for (const std::string& line : lines) {
        joined += line;
        expectedCapture += "\r\nP1<-" + RenderBlock(line, {});
        EXPECT_EQ(line.substr(0, today.size()), today) << line;
        EXPECT_GT(line.size(), today.size() + 2) << "a time follows the date";
    }
    EXPECT_EQ(joined, far);
    EXPECT_EQ(contentOf(path("capture.txt")), expectedCapture);
    EXPECT_EQ(boxes.texts("message"), std::vector<std::string>{});
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{});
}

TEST_F(Sending, AClosedPortRefusesTheStartButTheTelegramChoiceIsKept) {
    struct Case {
        QAction* TFmEscuchar::*closeItem;
        QRadioButton* TFmEscuchar::*port;
        const char* message;
    };
    for (const Case& c : {Case{&TFmEscuchar::CerrarPuerto1, &TFmEscuchar::RBPuerto1, "Port 1 is not open"},
                          Case{&TFmEscuchar::CerrarPuerto2, &TFmEscuchar::RBPuerto2, "Port 2 is not open"}}) {
        SCOPED_TRACE(c.message);
        (window().*c.port)->setChecked(true);
        click(window().*c.closeItem);
        if (window().State.SkipLine) click(window().BloqueTlg);
        boxes.shown.clear();

        click(window().TLGTipo1);
        EXPECT_EQ(boxes.texts("message"), std::vector<std::string>{c.message});
        EXPECT_EQ(window().EditTlg->text(), QString::fromUtf8("Código 11 Char"));
        EXPECT_EQ(window().State.TlgType, 2u);
        EXPECT_TRUE(window().State.SkipLine);
        EXPECT_EQ(window().BloqueTlg->text(), "Do not Skip a &Line for each Tlg");
        EXPECT_FALSE(window().State.Sending);
        EXPECT_FALSE(window().Timer1.enabled());
    }
}

TEST_F(Sending, ACaptureOnAFullDiskEndsTheTickAndLeavesTheSchedulerHalted) {
    startCapture("/dev/full");
    click(window().TlgTest1);
    ASSERT_EQ(window().Scheduler().State(), SchedulerState::Running);

    window().Timer1.fire();
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"Disk full"});
    EXPECT_EQ(window().Scheduler().State(), SchedulerState::Halted);
    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com1.readAvailable();
        return far.size() >= 257;
    }));
    EXPECT_EQ(far.size(), 257u) << "the telegram went out before the echo failed";

    click(window().Cortar1);
    EXPECT_EQ(window().Scheduler().State(), SchedulerState::Idle);
    click(window().TlgTest1);
    EXPECT_EQ(window().Scheduler().State(), SchedulerState::Running) << "the program goes on";
}

TEST_F(Sending, PeriodFieldSetsTheTimerAtOnceAndDelayFieldSetsBothPorts) {
    click(window().FechayHora1);
    window().SEFrecuencia->setText("250");
    EXPECT_EQ(window().Timer1.interval(), 250);
    EXPECT_TRUE(window().Timer1.enabled()) << "a running scheduler keeps running";
    window().SEFrecuencia->setText("-");  // not a number: reads as the field's minimum
    EXPECT_EQ(window().Timer1.interval(), 10);

    window().SEDelay->setValue(120);
    EXPECT_EQ(window().Port1.PollingDelay(), 120);
    EXPECT_EQ(window().Port2.PollingDelay(), 120);
    window().SEDelay->setText("70000");  // typed beyond the field's limit
    EXPECT_EQ(window().Port1.PollingDelay(), 1000);
    EXPECT_EQ(window().Port2.PollingDelay(), 1000);
}

TEST_F(Sending, PollingRqzSetsTheLineAndTakesTheStationCountFromTheAnswer) {
    struct Case {
        const char* answer;
        std::int32_t stations;  // -1: the answer is refused
        const char* error;
    };
    const std::vector<Case> cases = {
        {"0", 6, ""},
        {"00", 0, ""},
        {"300", 300, ""},
        {" 12", -1, "'12 ' is not a valid integer value"},
        {"x6", -1, "'6 ' is not a valid integer value"},
        {"-", -1, "'-' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("answer '") + c.answer + "'");
        click(window().Cortar1);
        window().State.StationCount = 99;
        window().State.Station = 42;
        window().State.TlgType = 0;
        boxes.shown.clear();
        boxes.inputAnswers.push_back(c.answer);

        click(window().Polling1);
        EXPECT_EQ(boxes.texts("input"), std::vector<std::string>{"Polling|Number of Stations|6"});
        EXPECT_EQ(window().EditTlg->text(), "Polling RQZ");
        EXPECT_EQ(window().State.TlgType, 5u);
        if (c.stations < 0) {
            EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{c.error});
            EXPECT_EQ(window().State.StationCount, 99);
            EXPECT_EQ(window().State.Station, 42);
            EXPECT_FALSE(window().State.Sending);
        } else {
            EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{});
            EXPECT_EQ(window().State.StationCount, c.stations);
            EXPECT_EQ(window().State.Station, 0);
            EXPECT_TRUE(window().State.Sending);
        }
    }

    // A pseudo-terminal keeps the speed and stop bits but not the parity; the
    // driver holds all of them.
    EXPECT_EQ(window().Port1.DataBits(), db8BITS);
    EXPECT_EQ(window().Port1.Parity(), ptODD);
    EXPECT_EQ(window().Port1.StopBits(), sb1BITS);
    EXPECT_EQ(window().Port1.BaudRate(), br9600);
    EXPECT_TRUE(window().Port1.Connected());
    EXPECT_EQ(com1.line().c_ospeed, 9600u);
    EXPECT_EQ(com1.line().c_cflag & CSTOPB, 0u);

    // Six stations in turn from the first, each poll DLE ENQ and the station. The
    // test makes the ticks; the timer's own would come only after the long period.
    window().SEFrecuencia->setValue(1000000);
    click(window().Cortar1);
    boxes.inputAnswers.push_back("0");
    click(window().Polling1);
    com1.readAvailable();
    for (int tick = 0; tick < 7; ++tick) window().Timer1.fire();
    std::string far;
    ASSERT_TRUE(runUntil([&] {
        far += com1.readAvailable();
        return far.size() >= 21;
    }));
    EXPECT_EQ(
        far, std::string(
                 "\x10\x05\x01\x10\x05\x02\x10\x05\x03\x10\x05\x04\x10\x05\x05\x10\x05\x06\x10\x05\x01", 21));
}

}  // namespace
}  // namespace varelo::test
