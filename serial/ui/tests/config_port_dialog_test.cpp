#include "serial/ui/config_port_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varelo {
namespace {

class ConfigPortDialog : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "serial_ui_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }
    TConfigPort1 dialog;
};

std::vector<std::string> itemsOf(const QComboBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
    return items;
}

TEST_F(ConfigPortDialog, ListsHoldTheirItemsInOrderAndNothingIsChosenBeforeTheFirstLoad) {
    struct Case {
        QComboBox* list;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {dialog.cboPort,
         {"(Custom)", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}},
        {dialog.cboBaud,
         {"(Custom)", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
          "57600", "115200", "128000", "256000"}},
        {dialog.cboData, {"5", "6", "7", "8"}},
        {dialog.cboParity,
         {"None  - Sin", "Odd   - Impar", "Even  - Par", "Mark  - Marca", "Space - Espacio"}},
        {dialog.cboStop, {"1", "1.5", "2"}},
        {dialog.cboFlow, {"None", "XON/XOFF"}},
        {dialog.CboHand, {"None", "RTS/CTS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        EXPECT_EQ(itemsOf(c.list), c.items);
        EXPECT_EQ(c.list->currentIndex(), -1);
        EXPECT_FALSE(c.list->isEditable()) << "a choice from the items only";
    }
}

TEST_F(ConfigPortDialog, CaptionLabelsAndTabOrder) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), " Settings Port");
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(200, 275));
    const std::vector<std::string> labels = {
        dialog.Label1->text().toStdString(), dialog.Label2->text().toStdString(),
        dialog.Label3->text().toStdString(), dialog.Label4->text().toStdString(),
        dialog.Label5->text().toStdString(), dialog.Label6->text().toStdString(),
        dialog.Label7->text().toStdString()};
    EXPECT_EQ(labels, (std::vector<std::string>{"Port", "Baud", "Data bits", "Stop bits", "Parity",
                                                "Soft Control:", "Hard Control"}));
    EXPECT_EQ(dialog.btnOK->text().toStdString(), "OK");
    EXPECT_TRUE(dialog.btnOK->isDefault());

    const std::vector<QWidget*> order = {dialog.cboPort, dialog.cboBaud, dialog.cboData, dialog.cboParity,
                                         dialog.cboStop, dialog.cboFlow, dialog.btnOK,   dialog.CboHand};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(order[i]->nextInFocusChain(), order[i + 1])
            << "after " << order[i]->objectName().toStdString();
}

TEST_F(ConfigPortDialog, LoadShowsTheDriversSettingsAndStoreWritesTheChoicesBack) {
    TCommPortDriver port;
    port.SetPort(pnCOM7);
    port.SetBaudRate(br19200);
    port.SetDataBits(db7BITS);
    port.SetParity(ptMARK);
    port.SetStopBits(sb1HALFBITS);
    port.SetSwFlow(sfXONXOFF);
    port.SetHwFlow(hfRTSCTS);

    dialog.LoadFrom(port);
    EXPECT_EQ(dialog.cboPort->currentText().toStdString(), "7");
    EXPECT_EQ(dialog.cboBaud->currentText().toStdString(), "19200");
    EXPECT_EQ(dialog.cboData->currentText().toStdString(), "7");
    EXPECT_EQ(dialog.cboParity->currentText().toStdString(), "Mark  - Marca");
    EXPECT_EQ(dialog.cboStop->currentText().toStdString(), "1.5");
    EXPECT_EQ(dialog.cboFlow->currentText().toStdString(), "XON/XOFF");
    EXPECT_EQ(dialog.CboHand->currentText().toStdString(), "RTS/CTS");

    dialog.cboPort->setCurrentIndex(16);
    dialog.cboBaud->setCurrentIndex(15);
    dialog.cboData->setCurrentIndex(0);
    dialog.cboParity->setCurrentIndex(4);
    dialog.cboStop->setCurrentIndex(2);
    dialog.cboFlow->setCurrentIndex(0);
    dialog.CboHand->setCurrentIndex(0);
    dialog.StoreTo(port);
    EXPECT_EQ(port.Port(), pnCOM16);
    EXPECT_EQ(port.PortName(), "\\\\.\\COM16");
    EXPECT_EQ(port.BaudRate(), br256000);
    EXPECT_EQ(port.DataBits(), db5BITS);
    EXPECT_EQ(port.Parity(), ptSPACE);
    EXPECT_EQ(port.StopBits(), sb2BITS);
    EXPECT_EQ(port.SwFlow(), sfNONE);
    EXPECT_EQ(port.HwFlow(), hfNONE);
}

TEST_F(ConfigPortDialog, CustomOrNoChoiceLeavesTheSettingAsItWas) {
    TCommPortDriver port;
    port.SetPortName("/dev/pts/99");  // a port named by path alone: (Custom)
    port.SetBaudRate(br4800);
    port.SetHwFlow(hfNONERTSON);

    dialog.LoadFrom(port);
    EXPECT_EQ(dialog.cboPort->currentText().toStdString(), "(Custom)");
    EXPECT_EQ(dialog.CboHand->currentIndex(), -1) << "RTS held on is none of the list's choices";

    dialog.cboBaud->setCurrentIndex(0);  // (Custom)
    dialog.StoreTo(port);
    EXPECT_EQ(port.Port(), pnCustom);
    EXPECT_EQ(port.PortName(), "/dev/pts/99");
    EXPECT_EQ(port.BaudRate(), br4800);
    EXPECT_EQ(port.HwFlow(), hfNONERTSON);
}

}  // namespace
}  // namespace varelo
