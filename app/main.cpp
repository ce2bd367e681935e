#include "app/application_windows.h"
#include "app/program_run.h"
#include "platform/clock.h"
#include "platform/ui/qt_modal_boxes.h"
#include "util/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Qt aborts with a long message when it finds no display; say it plainly instead.
bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// Milliseconds since the kernel started this process (its start time is kept
// in clock ticks since boot, so the figure moves in steps of one tick).
double msSinceProcessStart() {
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));  // after the command name
    std::string field;
    for (int i = 3; i < 22 && fields >> field;) ++i;  // fields 3 to 21
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1e3 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// For the start-up benchmark (VARELO_REPORT_STARTUP=1): once the main window has
// been painted for the first time, says how long that took and quits.
class StartupReport : public QObject {
  public:
    StartupReport(QWidget* window, const QElapsedTimer& sinceMain) : window_(window), sinceMain_(sinceMain) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            qApp->removeEventFilter(this);
            // Reported once the paint that is under way has finished.
            QTimer::singleShot(0, qApp, [this] {
                std::fprintf(stderr,
                             "varelo: window shown %.1f ms after process start (%.1f ms after main)\n",
                             msSinceProcessStart(), static_cast<double>(sinceMain_.nsecsElapsed()) / 1e6);
                QApplication::quit();
            });
        }
        return false;
    }

  private:
    QWidget* window_;
    const QElapsedTimer& sinceMain_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (!displayAvailable()) {
        std::fprintf(
            stderr,
            "varelo: no graphical display found (DISPLAY is not set).\n"
            "Start it from a desktop session, or under a virtual display: xvfb-run -a ./scripts/run\n");
        return 2;
    }
    QApplication app(argc, argv);
    varelo::ProgramRun program;
    varelo::SharedState shared;
    varelo::QtModalBoxes boxes;
    varelo::ApplicationWindows windows(shared, boxes, varelo::systemWallClock(), varelo::systemTickClock());
    boxes.setParent(windows.FmEscuchar.get());
    std::unique_ptr<StartupReport> startupReport;
    if (const char* report = std::getenv("VARELO_REPORT_STARTUP"); report && std::string(report) == "1")
        startupReport = std::make_unique<StartupReport>(windows.FmEscuchar.get(), sinceMain);
    return program.run(*windows.FmEscuchar);
}
