#include "app/application_windows.h"
#include "platform/clock.h"
#include "platform/ui/qt_modal_boxes.h"
#include "util/shared_state.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when it finds no display; say it plainly instead.
bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fprintf(
            stderr,
            "varelo: no graphical display found (DISPLAY is not set).\n"
            "Start it from a desktop session, or under a virtual display: xvfb-run ./build/app/varelo\n");
        return 2;
    }
    QApplication app(argc, argv);
    varelo::SharedState shared;
    varelo::QtModalBoxes boxes;
    varelo::ApplicationWindows windows(shared, boxes, varelo::systemWallClock(), varelo::systemTickClock());
    boxes.setParent(windows.FmEscuchar.get());
    windows.FmEscuchar->show();
    return app.exec();
}
