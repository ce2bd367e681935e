#include "modbus/ui/modbus_request_dialog.h"

#include "modbus/modbus_frame.h"
#include "modbus/ui/tests/qstring_printer.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "widgets/reference_windows/tests/gui_test_support.h"
#include "widgets/spin_edit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace varelo {
namespace {

using testing_support::memoLines;

// Made before the fixture's members, so that the dialog finds the application.
struct GuiApplicationFirst {
    GuiApplicationFirst() { testing_support::ensureGuiApplication(); }
};

class RequestDialog : public testing::Test, private GuiApplicationFirst {
  protected:
    // Shows the dialog as the request commands do and runs `whileOpen` inside
    // its modal loop. A dialog left open is closed by a guard so that the test
    // fails instead of hanging.
    void showModalWith(std::function<void()> whileOpen) {
        bool leftOpen = false;
        QTimer::singleShot(0, &dialog, std::move(whileOpen));
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
            leftOpen = true;
            dialog.done(QDialog::Rejected);
        });
        guard.start(5000);
        dialog.showModal();
        EXPECT_FALSE(leftOpen) << "the dialog did not close";
        EXPECT_FALSE(dialog.isVisible());
    }

    static void typeInto(TSpinEdit* field, const char* text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    ScriptedModalBoxes boxes;
    TConfMODBUS dialog{boxes};
};

TEST_F(RequestDialog, FieldsStartWithTheirLimitsAndDefaults) {
    EXPECT_EQ(dialog.windowTitle(), " Configuration demand MODBUS/JBUS");
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(431, 191));
    EXPECT_EQ(dialog.Label10->text(), "MODBUS/JBUS");
    EXPECT_TRUE(dialog.Label10->font().bold());
    EXPECT_EQ(dialog.BitBtn1->text(), "&OK");

    struct Field {
        QLabel* label;
        TSpinEdit* edit;
        const char* caption;
        int min, max, value, maxLength;
    };
    const Field fields[] = {
        {dialog.Label2, dialog.SEEstacion, "Station", 0, 247, 1, 3},
        {dialog.Label3, dialog.SEFuncion, "Function", 1, 17, 17, 2},
        {dialog.Label4, dialog.SEDireccion, "Variable", 0, 100000, 0, 6},
        {dialog.Label7, dialog.SECantidad, "Quantity", 1, 128, 32, 3},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.caption);
        EXPECT_EQ(f.label->text(), f.caption);
        EXPECT_EQ(f.edit->minValue(), f.min);
        EXPECT_EQ(f.edit->maxValue(), f.max);
        EXPECT_EQ(f.edit->value(), f.value);
        EXPECT_EQ(f.edit->text(), QString::number(f.value));
        EXPECT_EQ(f.edit->maxLength(), f.maxLength);
        EXPECT_EQ(f.label->y() / 8, f.edit->y() / 8) << "the caption stands beside its field";
    }

    // The default request is the identification poll of station 1.
    EXPECT_EQ(BuildModbusFrame(dialog.SEEstacion->value(), dialog.SEFuncion->value(),
                               dialog.SEDireccion->value(), dialog.SECantidad->value(), "RTU"),
              std::string("\x01\x11\xC0\x2C", 4));
}

TEST_F(RequestDialog, ListsTheFunctionCodesReadOnly) {
    const QStringList expected{
        "Programmed Functions",
        "------------------------------------",
        "01 Read reel (bit)",
        "02 Read Input",
        "03 Read Word",
        "04 Read Input Word",
        "05 Write a reel (bit)",
        "06 Write a Word",
        "07 Read exception states",
        "08 Diagnostics",
        "11 Search for comm ctrl event",
        "12 Search for comm log event",
        "17 Slave identification",
    };
    EXPECT_EQ(memoLines(*dialog.Memo1), expected);
    EXPECT_TRUE(dialog.Memo1->isReadOnly());
    EXPECT_EQ(dialog.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(RequestDialog, OkClosesItAndTheValuesStayForTheNextShowing) {
    showModalWith([&] {
        typeInto(dialog.SEEstacion, "12");
        typeInto(dialog.SEFuncion, "3");
        typeInto(dialog.SEDireccion, "70000");
        typeInto(dialog.SECantidad, "4");
        dialog.BitBtn1->click();
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    showModalWith([&] {
        EXPECT_EQ(dialog.SEEstacion->value(), 12);
        EXPECT_EQ(dialog.SEFuncion->value(), 3);
        EXPECT_EQ(dialog.SEDireccion->value(), 70000);
        EXPECT_EQ(dialog.SECantidad->value(), 4);
        dialog.BitBtn1->click();
    });
}

TEST_F(RequestDialog, CloseBoxAndEscapeLeaveTheValuesShownLikeOk) {
    struct Way {
        const char* name;
        std::function<void(QDialog&)> close;
    };
    const Way ways[] = {
        {"close box", [](QDialog& d) { d.close(); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"OK", [](QDialog& d) { static_cast<TConfMODBUS&>(d).BitBtn1->click(); }},
    };
    int station = 20;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const QByteArray typed = QByteArray::number(++station);
        showModalWith([&] {
            typeInto(dialog.SEEstacion, typed.constData());
            way.close(dialog);
        });
        EXPECT_EQ(dialog.SEEstacion->value(), station);
    }
}

TEST_F(RequestDialog, NumbersBeyondTheLimitsAreHeldWithinThemHoweverItCloses) {
    // Numbers typed and not yet checked: the fields are left without the
    // focus ever leaving them.
    showModalWith([&] {
        dialog.SEEstacion->setText("300");
        dialog.SEFuncion->setText("0");
        dialog.SEDireccion->setText("999999");
        dialog.SECantidad->setText("");
        dialog.close();
    });
    EXPECT_EQ(dialog.SEEstacion->text(), "247") << "not station 300 sent as 44";
    EXPECT_EQ(dialog.SEFuncion->text(), "1");
    EXPECT_EQ(dialog.SEDireccion->text(), "100000");
    EXPECT_EQ(dialog.SECantidad->text(), "") << "a text that is no number stays, and reads as the minimum";
    EXPECT_EQ(dialog.SECantidad->value(), 1);
}

}  // namespace
}  // namespace varelo
