// The program's life as the user sees it: the name its boxes are captioned with
// from the very first box on, and its end when the main window closes, whichever
// other window is open then.
#include "app/tests/modbus_window_fixture.h"
#include "platform/ui/qt_modal_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <string>
#include <vector>

namespace varelo::test {
namespace {

using ProgramLifeTest = ModbusWindowTest;

// Each way the user closes the main window while a tag session shows its window
// ends the program: the event loop returns, with both ports closed.
TEST_F(ProgramLifeTest, ClosingTheMainWindowEndsTheProgramWhileTheTagDataWindowIsOpen) {
    const struct {
        const char* name;
        std::function<void(TFmEscuchar&)> close;
    } ways[] = {
        {"File, Exit", [](TFmEscuchar& w) { w.Salir1->trigger(); }},
        {"the close box", [](TFmEscuchar& w) { w.windowHandle()->close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        windows.reset();
        start();
        window().show();
        boxes.inputAnswers = {"1"};
        click(window().LeerParvolin1);
        ASSERT_TRUE(tagWindow().isVisible());
        ASSERT_TRUE(shared.TagSession);

        QTimer closing;
        closing.setSingleShot(true);
        QObject::connect(&closing, &QTimer::timeout, [&] { way.close(window()); });
        closing.start(0);
        QTimer patience;  // a guard against hanging, not a measure
        patience.setSingleShot(true);
        QObject::connect(&patience, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        patience.start(5000);

        EXPECT_EQ(QApplication::exec(), 0) << "the program is still running";
        EXPECT_FALSE(window().isVisible());
        EXPECT_FALSE(window().Port1.Connected());
        EXPECT_FALSE(window().Port2.Connected());
    }
}

// The box of a port that cannot be opened at start-up is the first thing the
// program shows, and already carries its name. Seen on the real box, in a program
// that has not been named yet (a fresh process goes by its file's name).
TEST_F(ProgramLifeTest, TheStartUpBoxOfAPortThatCannotBeOpenedIsCaptionedVarelo) {
    ::setenv("VARELO_COM1", "/tmp/varelo-no-such-device", 1);
    QApplication::setApplicationName(QString());
    std::vector<std::string> seen;
    QTimer answer;  // the user presses OK on each box that appears
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);

    QtModalBoxes realBoxes;
    ApplicationWindows started(shared, realBoxes, systemWallClock(), systemTickClock());

    EXPECT_EQ(seen, std::vector<std::string>{"Varelo|Unable to open port 1"});
}

}  // namespace
}  // namespace varelo::test
