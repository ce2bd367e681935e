#include "modbus/ui/tag_data_window.h"

#include "modbus/modbus_frame.h"
#include "modbus/ui/led_shape.h"
#include "modbus/ui/tests/qstring_printer.h"
#include "widgets/reference_windows/tests/gui_test_support.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing_support::memoLines;

const QString kMark(QChar(TFormParvolin::kNoGlyphMark));

// Every byte value once, in order: the map shows each of them.
std::string everyByte() {
    std::string image;
    for (int b = 0; b < 256; ++b) image += static_cast<char>(b);
    return image;
}

// A read-holding-registers answer of station 1 with a good CRC.
std::string goodResponse(const std::string& data) {
    std::string frame{0x01, 0x03, static_cast<char>(data.size())};
    frame += data;
    return frame + ModbusCrc16(frame);
}

using TagDataWindow = testing_support::GuiTest;

TEST_F(TagDataWindow, StartsWithSilverLampsInARowAndAnEmptyMap) {
    TFormParvolin window;
    EXPECT_EQ(window.windowTitle(), " Datos Etiqueta Parvolin");
    EXPECT_EQ(window.frameGeometry().size(), QSize(234, 382));
    EXPECT_EQ(window.BF1->text(), "Inicializar");
    EXPECT_FALSE(window.BF1->icon().isNull());
    EXPECT_FALSE(window.BF1->focusPolicy() & Qt::TabFocus) << "not a tab stop";
    EXPECT_EQ(window.BitBtn1->text(), "&OK");
    EXPECT_EQ(window.GroupBox2->title(), " Mapa completo etiqueta ");
    EXPECT_EQ(window.Memo1->parentWidget(), window.GroupBox2);
    EXPECT_EQ(window.Memo1->size(), QSize(177, 280));
    EXPECT_EQ(window.Memo1->font().family(), "Courier New");
    EXPECT_TRUE(window.Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(window.LabelPaso->text().isEmpty());

    const LedShape* row[] = {window.LedAzul, window.LedAmarillo, window.LedVerde, window.LedRojo};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(row[i]->colour(), colours::Silver);
        EXPECT_EQ(row[i]->size(), QSize(9, 9));
        EXPECT_EQ(row[i]->y(), row[0]->y());
        if (i > 0) {
            EXPECT_GT(row[i]->x(), row[i - 1]->x() + 9) << "side by side, left to right";
        }
        EXPECT_LT(row[i]->geometry().bottom(), window.LabelPaso->y()) << "above the step count";
    }
}

TEST_F(TagDataWindow, LampIsDrawnInItsColourWithRoundedCorners) {
    TFormParvolin window;
    window.SetLed(TagLed::Verde, colours::Lime);
    const QImage lamp = window.LedVerde->grab().toImage();
    EXPECT_EQ(lamp.pixelColor(4, 4), QColor(0, 255, 0));
    EXPECT_NE(lamp.pixelColor(0, 0), QColor(Qt::black)) << "the corner is rounded off";
    EXPECT_EQ(window.LedColour(TagLed::Verde), colours::Lime);
}

TEST_F(TagDataWindow, MapOfEveryByteShowsTheCodePageWithControlBytesMarked) {
    TFormParvolin window;
    window.ShowTagMap(everyByte());
    const QString marks16 = kMark.repeated(16);
    const QStringList expected{
        "-W-|H|0123456789ABCDEF",
        "000|0|" + marks16,
        "008|1|" + marks16,
        "016|2| !\"#$%&'()*+,-./",
        "024|3|0123456789:;<=>?",
        "032|4|@ABCDEFGHIJKLMNO",
        "040|5|PQRSTUVWXYZ[\\]^_",
        "048|6|`abcdefghijklmno",
        "056|7|pqrstuvwxyz{|}~" + kMark,
        "064|8|€" + kMark + "‚ƒ„…†‡ˆ‰Š‹Œ" + kMark + "Ž" + kMark,
        "072|9|" + kMark + "‘’“”•–—˜™š›œ" + kMark + "žŸ",
        "080|A|\u00A0¡¢£¤¥¦§¨©ª«¬" + kMark + "®¯",
        "088|B|°±²³´µ¶·¸¹º»¼½¾¿",
        "096|C|ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏ",
        "104|D|ÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß",
        "112|E|àáâãäåæçèéêëìíîï",
        "120|F|ðñòóôõö÷øùúûüýþÿ",
    };
    EXPECT_EQ(memoLines(*window.Memo1), expected);
    EXPECT_EQ(memoLines(*window.Memo1).back().at(6 + 0xE), QChar(u'þ'));
}

TEST_F(TagDataWindow, NewMapReplacesTheOldAndAShortImageGivesShortRows) {
    TFormParvolin window;
    window.ShowTagMap(everyByte());
    window.ShowTagMap(std::string("AB\0C", 4));
    const QStringList lines = memoLines(*window.Memo1);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[1], "000|0|AB" + kMark + "C");
    EXPECT_EQ(lines[2], "008|1|");
    EXPECT_EQ(lines[16], "120|F|");
}

TEST_F(TagDataWindow, ActivityLampTogglesBetweenSilverAndBlue) {
    TFormParvolin window;
    window.ToggleTagLed();
    EXPECT_EQ(window.LedColour(TagLed::Azul), colours::Blue);
    window.ToggleTagLed();
    EXPECT_EQ(window.LedColour(TagLed::Azul), colours::Silver);
    window.SetLed(TagLed::Azul, colours::Red);
    window.ToggleTagLed();
    EXPECT_EQ(window.LedColour(TagLed::Azul), colours::Silver) << "any colour but silver goes off";
}

struct OutcomeCase {
    const char* name;
    TagOutcome outcome;
    Colour amarillo, verde, rojo;
    QString paso;
    bool mapKept;
};

TEST_F(TagDataWindow, ShowsEachKindOfOutcome) {
    TagOutcome good;
    good.ledAmarillo = colours::Yellow;
    good.ledVerde = colours::Lime;
    good.labelPaso = "2";
    TagOutcome badCrc;
    badCrc.ledRojo = colours::Red;
    TagOutcome exception;
    exception.initialize = true;
    exception.labelPaso = "0";
    TagOutcome incomplete;
    incomplete.enableRetryTimer = true;

    const OutcomeCase cases[] = {
        {"good response", good, colours::Yellow, colours::Lime, colours::Silver, "2", true},
        {"bad CRC", badCrc, colours::Silver, colours::Lime, colours::Red, "1", true},
        {"exception", exception, colours::Silver, colours::Silver, colours::Silver, "0", false},
        {"incomplete", incomplete, colours::Silver, colours::Lime, colours::Silver, "1", true},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFormParvolin window;
        window.ShowTagMap("tag");
        window.SetLed(TagLed::Verde, colours::Lime);
        window.SetLed(TagLed::Azul, colours::Blue);
        window.SetLabelPaso("1");

        window.applyOutcome(c.outcome);
        EXPECT_EQ(window.LedColour(TagLed::Amarillo), c.amarillo);
        EXPECT_EQ(window.LedColour(TagLed::Verde), c.verde);
        EXPECT_EQ(window.LedColour(TagLed::Rojo), c.rojo);
        EXPECT_EQ(window.LedColour(TagLed::Azul), c.mapKept ? colours::Blue : colours::Silver);
        EXPECT_EQ(window.LabelPaso->text(), c.paso);
        EXPECT_EQ(window.Memo1->toPlainText().isEmpty(), !c.mapKept);
    }
}

TEST_F(TagDataWindow, CompletePassFromTheReaderIsDrawnAfterTheFourthBlock) {
    SharedState state;
    TagReader reader(state);
    reader.prepareSession(1);
    reader.beginSession();
    TFormParvolin window;

    std::string data;
    for (int i = 0; i < 64; ++i) data += static_cast<char>('A' + i % 26);
    for (int block = 1; block <= 4; ++block) {
        window.applyOutcome(reader.ProcessTagResponse(goodResponse(data)));
        EXPECT_EQ(window.LabelPaso->text(), QString::number(block));
        EXPECT_EQ(window.LedColour(TagLed::Verde), colours::Lime);
        EXPECT_EQ(window.Memo1->toPlainText().isEmpty(), block < 4);
    }
    const QStringList lines = memoLines(*window.Memo1);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[1], "000|0|BADCFEHGJILKNMPO") << "registers arrive high byte first";
}

TEST_F(TagDataWindow, InicializarClearsTheWindowThenRestartsTheReader) {
    SharedState state;
    TagReader reader(state);
    reader.prepareSession(1);
    reader.beginSession();
    state.TagAddress = 64;
    state.TagMap = "half a pass";

    TFormParvolin window;
    int restarts = 0;
    window.SetOnInicializar([&] {
        ++restarts;
        EXPECT_TRUE(window.Memo1->toPlainText().isEmpty()) << "the window is cleared first";
        return reader.initialize();
    });
    window.ShowTagMap("old pass");
    for (TagLed led : {TagLed::Azul, TagLed::Amarillo, TagLed::Verde, TagLed::Rojo})
        window.SetLed(led, colours::Red);
    window.SetLabelPaso("3");

    window.BF1->click();
    EXPECT_EQ(restarts, 1);
    EXPECT_TRUE(window.Memo1->toPlainText().isEmpty());
    for (TagLed led : {TagLed::Azul, TagLed::Amarillo, TagLed::Verde, TagLed::Rojo})
        EXPECT_EQ(window.LedColour(led), colours::Silver);
    EXPECT_EQ(window.LabelPaso->text(), "3") << "the step count stays";
    EXPECT_EQ(state.TagAddress, 0);
    EXPECT_TRUE(state.TagMap.empty());
    EXPECT_EQ(state.TlgToSend, BuildModbusFrame(1, 3, 0, 32, "RTU"));
}

TEST_F(TagDataWindow, CloseBoxOnlyHidesAndLeavesTheSessionRunning) {
    TFormParvolin window;
    int stops = 0;
    window.SetOnStop([&] { ++stops; });
    window.ShowTagMap("tag");
    window.show();
    const QPoint offCentre = window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << "shown in the middle of the screen";
    window.close();
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(stops, 0);
    EXPECT_FALSE(window.Memo1->toPlainText().isEmpty()) << "keeps what it shows";
    window.show();
    EXPECT_TRUE(window.isVisible()) << "can be shown again";
}

TEST_F(TagDataWindow, OkStopsTheSessionThenCloses) {
    QPointer<TFormParvolin> window = new TFormParvolin;
    bool visibleWhenStopped = false;
    window->SetOnStop([&] { visibleWhenStopped = window->isVisible(); });
    window->show();
    window->BitBtn1->click();
    EXPECT_TRUE(visibleWhenStopped) << "Stop runs before the window closes";
    ASSERT_FALSE(window.isNull()) << "closing keeps the window for the next session";
    EXPECT_TRUE(window->isHidden());
    delete window.data();
}

}  // namespace
}  // namespace varelo
