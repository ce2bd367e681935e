// The program for the capture drills: Varelo's windows offscreen with COM1 and
// COM2 on the devices given, Hexa with one telegram per line and its time,
// capturing to the file given. It prints "ready" once capturing, then "shown N"
// every few milliseconds, N being the bytes the monitor has shown (and so
// captured) so far, until it is killed or a signal ends it as it ends Varelo.
#include "app/application_windows.h"
#include "app/program_run.h"
#include "platform/clock.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/shared_state.h"

#include <QAction>
#include <QApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    using namespace varelo;
    if (argc != 4) {
        std::fputs("usage: capture_kill_program COM1-DEVICE COM2-DEVICE CAPTURE-FILE\n", stderr);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("VARELO_COM1", argv[1], 1);
    ::setenv("VARELO_COM2", argv[2], 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    ProgramRun program;
    SharedState shared;
    ScriptedModalBoxes boxes;
    ApplicationWindows windows(shared, boxes, systemWallClock(), systemTickClock());
    TFmEscuchar& window = *windows.FmEscuchar;
    // Shown and activated first: the first activation stops any capture.
    window.show();
    window.activateWindow();
    for (int pass = 0; pass < 200 && !window.isActiveWindow(); ++pass) {
        QApplication::processEvents();
        QThread::msleep(5);
    }

    window.Hexadecimal1->trigger();
    window.SaltardeLineayHoraporTlg1->trigger();
    boxes.fileAnswers.push_back(argv[3]);
    boxes.yesNoAnswers.push_back(true);
    window.Nuevo1->trigger();
    if (!window.State.Capturing || !window.Port1.Connected() || !window.Port2.Connected()) {
        std::fputs("the capture or a port did not start\n", stderr);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("shown %lld\n", static_cast<long long>(window.State.RxCount));
        std::fflush(stdout);
    });
    report.start(5);
    return program.run(window);
}
