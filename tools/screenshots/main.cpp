// Plays one of the README's demonstrations on the real program and saves the
// picture of its window:
//
//   varelo-screenshots weight|poll|tag|echo PICTURE.png
//
// COM1 and COM2 are the devices named by VARELO_COM1 and VARELO_COM2, with the
// simulator on their far ends (scripts/screenshots runs it so). The input boxes
// are answered as the README says; every other box fails the run.

#include "app/application_windows.h"
#include "platform/clock.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "tools/screenshots/demonstrations.h"
#include "util/shared_state.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int fail(const std::string& name, const std::string& why) {
    std::fprintf(stderr, "varelo-screenshots: %s: %s\n", name.c_str(), why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> names = varelo::screenshots::DemonstrationNames();
    if (argc != 3 || std::find(names.begin(), names.end(), argv[1]) == names.end()) {
        std::fprintf(stderr, "usage: varelo-screenshots weight|poll|tag|echo PICTURE.png\n");
        return 2;
    }
    const std::string name = argv[1];
    const QString file = QString::fromLocal8Bit(argv[2]);

    QApplication app(argc, argv);
    varelo::SharedState shared;
    varelo::ScriptedModalBoxes boxes;
    varelo::ApplicationWindows windows(shared, boxes, varelo::systemWallClock(), varelo::systemTickClock());
    varelo::TFmEscuchar& window = *windows.FmEscuchar;
    window.show();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    if (!window.CerrarPuerto1->isEnabled() || !window.CerrarPuerto2->isEnabled())
        return fail(name, "COM1 and COM2 did not both open");

    const varelo::screenshots::Picture picture = varelo::screenshots::PlayDemonstration(name, windows, boxes);
    if (!picture.failure.empty()) return fail(name, picture.failure);
    for (const auto& box : boxes.shown)
        if (box.kind != "input") return fail(name, "a box came up: " + box.text);
    if (!picture.image.save(file, "PNG", 0)) return fail(name, std::string("cannot write ") + argv[2]);
    std::printf("%s: %s\n", name.c_str(), argv[2]);
    return 0;
}
