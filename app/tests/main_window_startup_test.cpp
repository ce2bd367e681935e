#include "app/tests/main_window_fixture.h"

#include "terminal/terminal_view.h"
#include "widgets/outer_size.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QtTest/QTest>

#include <string>
#include <vector>

namespace varelo::test {
namespace {

bool anyWindowShown() {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) return true;
    return false;
}

TEST_F(MainWindowTest, StartUpWithCom1MissingReportsItBeforeAnyWindowIsShownAndOpensPort2) {
    ::setenv("VARELO_COM1", "/tmp/varelo-no-such-device", 1);
    std::vector<bool> shownWhileBoxOpen;
    boxes.whileOpen = [&] { shownWhileBoxOpen.push_back(anyWindowShown()); };

    start();

    EXPECT_EQ(boxes.shown, (std::vector<ScriptedModalBoxes::Shown>{{"message", "Unable to open port 1"}}));
    EXPECT_EQ(shownWhileBoxOpen, std::vector<bool>{false});
    EXPECT_FALSE(window().Port1.Connected());
    EXPECT_TRUE(window().AbrirPuerto1->isEnabled());
    EXPECT_FALSE(window().CerrarPuerto1->isEnabled());
    EXPECT_TRUE(window().Port2.Connected());
    EXPECT_FALSE(window().AbrirPuerto2->isEnabled());
    EXPECT_TRUE(window().CerrarPuerto2->isEnabled());
}

TEST_F(MainWindowTest, StartUpOpensBothPortsAsCom1AndCom2AndNamesTheProgram) {
    start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(window().Port1.Connected());
    EXPECT_TRUE(window().Port2.Connected());
    EXPECT_EQ(window().Port1.Port(), pnCOM1);
    EXPECT_EQ(window().Port2.Port(), pnCOM2);
    EXPECT_EQ(window().Port1.HwFlow(), hfNONE);
    EXPECT_EQ(QApplication::applicationName().toStdString(), "Varelo");
    EXPECT_EQ(window().windowTitle().toStdString(), " Varelo");
    EXPECT_EQ(window().frameGeometry().size(), QSize(640, 480));
    EXPECT_EQ(window().State.CodeCounter, 123456789);
    EXPECT_EQ(window().State.PrefixIndex, 1);
    for (const QWidget* w :
         {static_cast<QWidget*>(windows->ConfigPort1.get()),
          static_cast<QWidget*>(windows->CaracteresDeControl.get()),
          static_cast<QWidget*>(windows->FmAcercaDe.get()), static_cast<QWidget*>(windows->FCarAscii.get()),
          static_cast<QWidget*>(windows->ConfMODBUS.get()),
          static_cast<QWidget*>(windows->FormParvolin.get())})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString() << " is created hidden";
}

// Each window's frame measures the window's design size once the window system has
// framed it (the offscreen platform draws a frame of its own, as a desktop does); the
// about window's design size is its inside. No control is cut off by the frame.
TEST_F(MainWindowTest, EachWindowsFrameMeasuresItsDesignSize) {
    start();
    struct Case {
        QWidget* window;
        QSize design;
        bool inside;
    } cases[] = {
        {&window(), {640, 480}, false},
        {windows->FCarAscii.get(), {596, 480}, false},
        {windows->CaracteresDeControl.get(), {507, 386}, false},
        {windows->ConfigPort1.get(), {200, 275}, false},
        {windows->ConfMODBUS.get(), {431, 191}, false},
        {windows->FormParvolin.get(), {234, 382}, false},
        {windows->FmAcercaDe.get(), {290, 335}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window->windowTitle().toStdString());
        c.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(c.window));
        const auto measured = [&] { return c.inside ? c.window->size() : c.window->frameGeometry().size(); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frameOf(*c.window).isNull(); }, 3000))
            << "framed, so inside and outside differ";
        EXPECT_TRUE(QTest::qWaitFor([&] { return measured() == c.design; }, 3000))
            << measured().width() << " x " << measured().height() << ", inside " << c.window->width() << " x "
            << c.window->height();
        const QWidget* content = c.window == &window() ? window().centralWidget() : c.window;
        for (const QWidget* control : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isWindow() || control->isHidden()) continue;
            EXPECT_TRUE(content->rect().contains(control->geometry()))
                << control->objectName().toStdString() << " is cut off";
        }
        c.window->hide();
    }
}

// The " Send Data " caption stands on the group's top line, the way the layout was
// measured, so neither the caption nor the line crosses the Port label below it.
TEST_F(MainWindowTest, TheSendDataCaptionAndFrameStayAboveThePortLabel) {
    start();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    QGroupBox* group = window().GBSend;
    const QRect port = window().Label5->geometry();

    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    EXPECT_LE(caption.bottom(), port.top()) << "caption " << caption.top() << ".." << caption.bottom();

    // The top line, found where it is drawn: right of the caption, the first pixel
    // down from the group's top that differs from the window's background.
    const QImage drawn = group->grab().toImage();
    const int x = group->width() - 20;
    const QColor background = drawn.pixelColor(x, 0);
    int line = 0;
    while (line < drawn.height() && drawn.pixelColor(x, line) == background) ++line;
    EXPECT_LT(line, port.top()) << "the frame's top line";
    EXPECT_GT(line, 0);
}

struct MenuEntry {
    std::string name;
    std::string caption;  // "-" for a separator line
    bool enabled;
};

std::vector<MenuEntry> entriesOf(const QMenu* menu) {
    std::vector<MenuEntry> entries;
    for (const QAction* a : menu->actions())
        entries.push_back({a->objectName().toStdString(), a->isSeparator() ? "-" : a->text().toStdString(),
                           a->isEnabled()});
    return entries;
}

TEST_F(MainWindowTest, MenusAfterStartUpHoldTheirItemsCaptionsAndEnabling) {
    start();
    struct Menu {
        std::string name;
        std::string caption;
        std::vector<MenuEntry> items;
    };
    const std::vector<Menu> expected = {
        {"Archivo1",
         "&File",
         {{"Nuevo1", "&New", true},
          {"Cerrar1", "&Close", false},
          {"N1", "-", true},
          {"Acercade1", "&About", true},
          {"Salir1", "&Exit", true}}},
        {"Configurar1",
         "&Config",
         {{"ConfigurarPuerto1", "Port &1", true}, {"ConfigurarPuerto2", "Port &2", true}}},
        {"Puertos1",
         "&Port",
         {{"AbrirPuerto1", "&Open Port 1", false},
          {"CerrarPuerto1", "&Close Port 1", true},
          {"N3", "-", true},
          {"AbrirPuerto2", "O&pen Port 2", false},
          {"CerrarPuerto2", "C&lose Port 2", true}}},
        {"Ver1",
         "&View",
         {{"AsciiHexadecimal1", "&ASCII - Hexa", false},
          {"CtrlASCIIHexadecimal1", "&Ctrl - ASCII - Hexa", true},
          {"Hexadecimal1", "&Hexa", true},
          {"BloqueTlg", "Skip of &Line for each Tlg", true},
          {"SaltardeLineayHoraporTlg1", "&Skip of Line and hour for each tlg", true},
          {"ModoTerminal1", "&Terminal mode", true},
          {"BorrarPantalla1", "Clear &Screen", true}}},
        {"Enviar1",
         "&Send",
         {{"FechayHora1", "Date and &Hour", true},
          {"TLGTipo1", "Code of &11 Char", true},
          {"TLGTipo2", "&Weight, date and hour", true},
          {"TlgTest1", "&ASCII Char", true},
          {"Polling1", "Polling &RQZ", true},
          {"PollingMODBUS1", "Polling &MODBUS-ASCII", true},
          {"PollingMODBUSRTU1", "Polling MODBUS-&RTU", true},
          {"DemandaMODBUSASCII1", "&Request MODBUS-ASCII", true},
          {"DemandaMODBUSRTU1", "Request MODBUS-R&TU", true},
          {"LeerParvolin1", "Reading &Parvolin - MODBUS-RTU", true},
          {"FicheroTexto1", "Text &File", true},
          {"Cortar1", "&Stop", true}}},
        {"Ayuda1",
         "H&elp",
         {{"CarcteresdeControl1", "Control &Characters", true},
          {"CaracteresAscii1", "&Ascii Characters", true}}},
    };

    const QList<QAction*> bar = window().menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].name);
        const QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName().toStdString(), expected[m].name);
        EXPECT_EQ(menu->title().toStdString(), expected[m].caption);
        const std::vector<MenuEntry> items = entriesOf(menu);
        ASSERT_EQ(items.size(), expected[m].items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].name, expected[m].items[i].name);
            EXPECT_EQ(items[i].caption, expected[m].items[i].caption) << items[i].name;
            if (items[i].caption != "-") {
                EXPECT_EQ(items[i].enabled, expected[m].items[i].enabled) << items[i].name;
            }
        }
    }
}

TEST_F(MainWindowTest, ControlsStartWithTheirValuesLimitsAndHints) {
    start();
    TFmEscuchar& w = window();
    EXPECT_EQ(w.GBSend->title().toStdString(), " Send Data ");
    EXPECT_TRUE(w.RBPuerto1->isChecked());
    EXPECT_FALSE(w.RBPuerto2->isChecked());
    EXPECT_TRUE(w.CBReflejo->isChecked());
    EXPECT_EQ(w.CBReflejo->text().toStdString(), "Return 485");
    EXPECT_EQ(w.EditTlg->toolTip().toStdString(), "Tipo de Telegrama configurado para enviar");
    for (const QLineEdit* edit : {w.EditTlg, w.EditFichero, w.EditLng}) {
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
        EXPECT_FALSE(edit->focusPolicy() & Qt::TabFocus)
            << edit->objectName().toStdString() << " has no tab stop";
        EXPECT_TRUE(edit->text().isEmpty());
    }
    struct Spin {
        const TSpinEdit* spin;
        int value, min, max, step;
    };
    for (const Spin& s : {Spin{w.SEFrecuencia, 1000, 10, 10000000, 100}, Spin{w.SEDelay, 50, 10, 1000, 10}}) {
        SCOPED_TRACE(s.spin->objectName().toStdString());
        EXPECT_EQ(s.spin->value(), s.value);
        EXPECT_EQ(s.spin->minValue(), s.min);
        EXPECT_EQ(s.spin->maxValue(), s.max);
        EXPECT_EQ(s.spin->increment(), s.step);
    }
    EXPECT_FALSE(w.Timer1.enabled());
    EXPECT_EQ(w.Timer1.interval(), 1000);
    EXPECT_FALSE(w.TimerModBus.enabled());
    EXPECT_EQ(w.QVB->pos(), QPoint(4, 8));
    EXPECT_EQ(w.QVB->Columns(), 88);
    EXPECT_EQ(w.QVB->Rows(), 24);
    EXPECT_EQ(w.QVB->LineBreak(), TLineBreak::CRLF);
}

bool screenShows(const TQVBcrt& view, char c) {
    return view.model().cell(1, 1).Ch == static_cast<std::uint8_t>(c);
}

void activate(QWidget& w) {
    w.show();
    w.activateWindow();
    QApplication::processEvents();
}

TEST_F(MainWindowTest, OnlyTheFirstActivationPlacesTheWindowClearsTheScreenAndFocusesTheView) {
    start();
    window().move(50, 60);
    window().QVB->WriteString("x");
    activate(window());

    EXPECT_EQ(window().pos(), QPoint(0, 0));
    EXPECT_TRUE(screenShows(*window().QVB, ' '));
    EXPECT_TRUE(window().QVB->hasFocus());
    EXPECT_FALSE(window().State.Capturing);
    EXPECT_FALSE(window().State.HexMode);

    // Back from another window of the program: screen and place are kept.
    window().QVB->WriteString("y");
    window().move(50, 60);
    activate(*windows->FmAcercaDe);
    windows->FmAcercaDe->hide();
    activate(window());
    EXPECT_TRUE(window().isActiveWindow());
    EXPECT_TRUE(screenShows(*window().QVB, 'y'));
    EXPECT_EQ(window().pos(), QPoint(50, 60));
}

}  // namespace
}  // namespace varelo::test

namespace varelo::test {
namespace {

TEST_F(MainWindowTest, AboutAndHelpItemsShowTheirWindowsModally) {
    start();
    const std::pair<QAction*, QDialog*> items[] = {
        {window().Acercade1, windows->FmAcercaDe.get()},
        {window().CarcteresdeControl1, windows->CaracteresDeControl.get()},
        {window().CaracteresAscii1, windows->FCarAscii.get()},
    };
    for (const auto& [item, shownWindow] : items) {
        SCOPED_TRACE(item->objectName().toStdString());
        bool wasModal = false;
        QTimer::singleShot(0, shownWindow, [&, w = shownWindow] {
            wasModal = w->isVisible() && QApplication::activeModalWidget() == w;
            w->close();
        });
        click(item);
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(shownWindow->isVisible());
    }
}

}  // namespace
}  // namespace varelo::test
