// The Send menu's MODBUS polls and requests: the line each sets on the chosen
// port, what it asks, and the frame the scheduler then sends.

#include "app/tests/modbus_window_fixture.h"
#include "app/tests/tag_frames.h"
#include "widgets/spin_edit.h"

#include <QLineEdit>
#include <QRadioButton>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

using Shown = ScriptedModalBoxes::Shown;

struct Command {
    const char* item;
    QAction* TFmEscuchar::*action;
    TDataBits dataBits;
    TParity parity;
    const char* telegramName;
    std::uint32_t tlgType;
    const char* inputBox;  // polls: caption|prompt|default
    std::string firstFrame;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"Polling MODBUS-ASCII", &TFmEscuchar::PollingMODBUS1, db7BITS, ptEVEN, "Polling ModBusASCII", 6,
         "Polling|N\u00ba Estaciones|6", ":0111EE\r\n"},
        {"Polling MODBUS-RTU", &TFmEscuchar::PollingMODBUSRTU1, db8BITS, ptEVEN, "Polling ModBusRTU", 7,
         "Polling|Number of Stations|6", hexBytes("01 11 C0 2C")},
        {"Request MODBUS-ASCII", &TFmEscuchar::DemandaMODBUSASCII1, db7BITS, ptEVEN, "Demanda ModBusASCII", 0,
         nullptr, ":1103006B00037E\r\n"},
        {"Request MODBUS-RTU", &TFmEscuchar::DemandaMODBUSRTU1, db8BITS, ptODD, "Demanda ModBusRTU", 0,
         nullptr, hexBytes("11 03 00 6B 00 03 76 87")},
    };
    return all;
}

// Station 17, function 3 (read registers), address 107, quantity 3.
void pickRequest(TConfMODBUS& d) {
    d.SEEstacion->setValue(17);
    d.SEFuncion->setValue(3);
    d.SEDireccion->setValue(107);
    d.SECantidad->setValue(3);
}

class ModbusCommandsTest : public ModbusWindowTest {
  protected:
    PseudoTerminal& farEnd(int port) { return port == 1 ? com1 : com2; }
    TCommPortDriver& driver(int port) { return port == 1 ? window().Port1 : window().Port2; }
};

TEST_F(ModbusCommandsTest, EachCommandSetsItsLineOnTheChosenPortThenSendsItsFrameAtEveryTick) {
    for (const int port : {1, 2}) {
        for (const Command& c : commands()) {
            SCOPED_TRACE(std::string(c.item) + " on port " + std::to_string(port));
            windows.reset();
            boxes.shown.clear();
            start();
            (port == 1 ? window().RBPuerto1 : window().RBPuerto2)->setChecked(true);
            boxes.inputAnswers = {"3"};
            confModbus->pick = pickRequest;

            click(window().*c.action);

            TCommPortDriver& chosen = driver(port);
            EXPECT_EQ(chosen.DataBits(), c.dataBits);
            EXPECT_EQ(chosen.Parity(), c.parity);
            EXPECT_EQ(chosen.StopBits(), sb1BITS);
            EXPECT_EQ(chosen.BaudRate(), br9600);
            EXPECT_TRUE(chosen.Connected());
            EXPECT_EQ(farEnd(port).line().c_ospeed, 9600u);
            TCommPortDriver& other = driver(3 - port);
            EXPECT_EQ(other.DataBits(), db8BITS) << "the other port keeps its line";
            EXPECT_EQ(other.Parity(), ptNONE);

            EXPECT_EQ(window().EditTlg->text().toStdString(), c.telegramName);
            EXPECT_EQ(window().State.TlgType, c.tlgType);
            EXPECT_TRUE(window().State.SkipLine);
            EXPECT_TRUE(window().State.Sending);
            if (c.inputBox) {
                EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"input", c.inputBox}}));
                EXPECT_EQ(window().State.StationCount, 3);
                EXPECT_EQ(window().State.Station, 0);
            } else {
                EXPECT_TRUE(boxes.shown.empty());
                EXPECT_EQ(confModbus->showings, 1);
                EXPECT_EQ(shared.TlgToSend, c.firstFrame) << "built once, when chosen";
            }

            farEnd(port).readAvailable();
            window().Timer1.fire();
            EXPECT_EQ(farEnd(port).readAvailable(), c.firstFrame);
            EXPECT_TRUE(farEnd(3 - port).readAvailable().empty());
        }
    }
}

TEST_F(ModbusCommandsTest, ThePollWalksThroughItsStationsFromTheFirstAtEveryStart) {
    start();
    boxes.inputAnswers = {"2", "300"};
    click(window().PollingMODBUSRTU1);
    for (int tick = 0; tick < 3; ++tick) window().Timer1.fire();
    EXPECT_EQ(com1.readAvailable(), hexBytes("01 11 C0 2C 02 11 C0 DC 01 11 C0 2C"));

    click(window().PollingMODBUSRTU1);
    EXPECT_EQ(window().State.StationCount, 247);
    window().Timer1.fire();
    EXPECT_EQ(com1.readAvailable(), hexBytes("01 11 C0 2C"));
}

// The telegram's name and type are already set when the count is refused; the
// count, the station and a scheduler already running are left as they were.
TEST_F(ModbusCommandsTest, AStationCountThatIsNoNumberEndsThePollWithTheConversionError) {
    start();
    boxes.inputAnswers = {"4", "2.5"};
    click(window().PollingMODBUSRTU1);
    window().Timer1.fire();
    com1.readAvailable();

    click(window().PollingMODBUS1);
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"'2  ' is not a valid integer value"});
    EXPECT_EQ(window().EditTlg->text(), "Polling ModBusASCII");
    EXPECT_EQ(window().State.TlgType, 6u);
    EXPECT_EQ(window().Port1.DataBits(), db7BITS) << "the line was set before the question";
    EXPECT_EQ(window().State.StationCount, 4);
    EXPECT_EQ(window().State.Station, 1);
    EXPECT_TRUE(window().State.Sending);

    window().Timer1.fire();
    EXPECT_EQ(com1.readAvailable(), ":0211ED\r\n") << "the new type goes on from the old station";
}

TEST_F(ModbusCommandsTest, ARequestOnAPortThatCannotBeOpenedIsReportedTwiceAndNothingStarts) {
    start();
    click(window().CerrarPuerto1);
    TCommPortDriver other;
    other.SetPortName(com1.slavePath());
    ASSERT_TRUE(other.Connect());

    click(window().DemandaMODBUSRTU1);
    EXPECT_EQ(boxes.shown,
              (std::vector<Shown>{{"message", "Unable to open port 1"}, {"message", "Port 1 is not open"}}));
    EXPECT_EQ(window().Port1.Parity(), ptODD) << "the new line stays set on the driver";
    EXPECT_FALSE(window().State.Sending);
    EXPECT_EQ(window().EditTlg->text(), "Demanda ModBusRTU");
    EXPECT_TRUE(window().State.SkipLine);
    EXPECT_EQ(shared.TlgToSend, hexBytes("01 11 C0 2C")) << "the dialog's defaults";
}

}  // namespace
}  // namespace varelo::test
