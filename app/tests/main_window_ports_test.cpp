#include "app/tests/main_window_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

using Shown = ScriptedModalBoxes::Shown;

void expectPortItems(TFmEscuchar& w, int port, bool open) {
    QAction* openItem = port == 1 ? w.AbrirPuerto1 : w.AbrirPuerto2;
    QAction* closeItem = port == 1 ? w.CerrarPuerto1 : w.CerrarPuerto2;
    EXPECT_EQ(openItem->isEnabled(), !open) << "port " << port;
    EXPECT_EQ(closeItem->isEnabled(), open) << "port " << port;
}

void choose(QComboBox* list, const char* item) {
    const int index = list->findText(QString::fromLatin1(item));
    ASSERT_GE(index, 0) << item;
    list->setCurrentIndex(index);
}

TEST_F(MainWindowTest, PortMenuClosesAndReopensEachPort) {
    start();
    click(window().CerrarPuerto1);
    EXPECT_FALSE(window().Port1.Connected());
    expectPortItems(window(), 1, false);
    EXPECT_TRUE(window().Port2.Connected()) << "the other port is left alone";

    click(window().CerrarPuerto2);
    click(window().AbrirPuerto1);
    EXPECT_TRUE(window().Port1.Connected());
    expectPortItems(window(), 1, true);
    expectPortItems(window(), 2, false);

    click(window().AbrirPuerto2);
    EXPECT_TRUE(window().Port2.Connected());
    expectPortItems(window(), 2, true);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowTest, OpeningAPortHeldElsewhereIsReported) {
    start();
    click(window().CerrarPuerto2);
    TCommPortDriver other;
    other.SetPortName(com2.slavePath());
    ASSERT_TRUE(other.Connect());

    click(window().AbrirPuerto2);
    EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"message", "Unable to open port 2"}}));
    EXPECT_FALSE(window().Port2.Connected());
    expectPortItems(window(), 2, false);
}

TEST_F(MainWindowTest, ConfigChoosingTheComThatPort2HoldsLeavesPort1ClosedWithItsNewSettings) {
    start();
    configPort.pick = [](TConfigPort1& d) {
        choose(d.cboPort, "2");
        choose(d.cboBaud, "4800");
    };
    click(window().ConfigurarPuerto1);

    EXPECT_EQ(boxes.shown, (std::vector<Shown>{{"message", "Unable to open port 1"}}));
    EXPECT_FALSE(window().Port1.Connected());
    expectPortItems(window(), 1, false);
    EXPECT_EQ(window().Port1.Port(), pnCOM2);
    EXPECT_EQ(window().Port1.BaudRate(), br4800);
    EXPECT_TRUE(window().Port2.Connected());
}

TEST_F(MainWindowTest, ConfigWritesTheChoicesToTheLine) {
    start();
    configPort.pick = [](TConfigPort1& d) {
        choose(d.cboBaud, "19200");
        choose(d.cboData, "7");
        choose(d.cboParity, "Odd   - Impar");
        choose(d.cboStop, "2");
        choose(d.cboFlow, "XON/XOFF");
        choose(d.CboHand, "RTS/CTS");
    };
    click(window().ConfigurarPuerto1);

    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(window().Port1.Connected());
    const termios2 line = com1.line();
    EXPECT_EQ(line.c_ospeed, 19200u);
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_TRUE(line.c_cflag & CRTSCTS);
    EXPECT_TRUE((line.c_iflag & IXON) && (line.c_iflag & IXOFF));
    // A pseudo-terminal always reports 8 data bits without parity; the driver holds them.
    EXPECT_EQ(window().Port1.DataBits(), db7BITS);
    EXPECT_EQ(window().Port1.Parity(), ptODD);
    EXPECT_EQ(com2.line().c_ospeed, 9600u) << "port 2 keeps its own settings";
    EXPECT_FALSE(com2.line().c_cflag & CSTOPB);

    // The next showing is loaded from the driver, so it shows what was applied.
    std::vector<std::string> loaded;
    configPort.pick = [&](TConfigPort1& d) {
        for (const QComboBox* list :
             {d.cboPort, d.cboBaud, d.cboData, d.cboParity, d.cboStop, d.cboFlow, d.CboHand})
            loaded.push_back(list->currentText().toStdString());
    };
    click(window().ConfigurarPuerto1);
    EXPECT_EQ(loaded,
              (std::vector<std::string>{"1", "19200", "7", "Odd   - Impar", "2", "XON/XOFF", "RTS/CTS"}));

    loaded.clear();
    click(window().ConfigurarPuerto2);
    EXPECT_EQ(loaded, (std::vector<std::string>{"2", "9600", "8", "None  - Sin", "1", "None", "None"}));
}

TEST_F(MainWindowTest, ConfigOpensAPortThatWasClosedBefore) {
    start();
    click(window().CerrarPuerto2);
    click(window().ConfigurarPuerto2);
    EXPECT_EQ(configPort.showings, 1);
    EXPECT_TRUE(window().Port2.Connected());
    expectPortItems(window(), 2, true);
    EXPECT_TRUE(boxes.shown.empty());
}

// The real dialog in its modal loop: the close box and OK both apply the choices.
TEST_F(MainWindowTest, ConfigDialogAppliesItsChoicesHoweverItIsClosed) {
    start();
    window().AttachWindows({windows->ConfigPort1.get(), nullptr, nullptr, nullptr});
    TConfigPort1& dialog = *windows->ConfigPort1;
    struct Case {
        const char* how;
        const char* stopBits;
        std::function<void()> closeIt;
    };
    const Case cases[] = {
        {"close box", "2", [&] { dialog.close(); }},
        {"OK", "1", [&] { dialog.btnOK->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QTimer::singleShot(0, &dialog, [&] {
            ASSERT_TRUE(dialog.isVisible());
            choose(dialog.cboStop, c.stopBits);
            c.closeIt();
        });
        click(window().ConfigurarPuerto1);
        EXPECT_FALSE(dialog.isVisible());
        ASSERT_TRUE(window().Port1.Connected());
        EXPECT_EQ((com1.line().c_cflag & CSTOPB) != 0, std::string(c.stopBits) == "2");
    }
}

}  // namespace
}  // namespace varelo::test
