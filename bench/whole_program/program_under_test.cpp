#include "bench/whole_program/program_under_test.h"

#include "bench/whole_program/bench_options.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace varelo::bench {

ProgramUnderTest::ProgramUnderTest(const std::string& com1, const std::string& com2) {
    ::setenv("VARELO_COM1", com1.c_str(), 1);
    ::setenv("VARELO_COM2", com2.c_str(), 1);
    windows_.emplace(shared_, boxes_, systemWallClock(), systemTickClock());
    window().show();
    window().activateWindow();
    RunEventLoopFor(std::chrono::milliseconds(200));
}

ProgramUnderTest::~ProgramUnderTest() {
    windows_.reset();
    ::unsetenv("VARELO_COM1");
    ::unsetenv("VARELO_COM2");
}

bool ProgramUnderTest::portsOpen() const {
    const TFmEscuchar& w = *windows_->FmEscuchar;
    return w.CerrarPuerto1->isEnabled() && w.CerrarPuerto2->isEnabled();
}

void ProgramUnderTest::click(QAction* item) {
    item->trigger();
    QApplication::processEvents();
}

bool ProgramUnderTest::monitorHexaWithHeadersAndTime() {
    click(window().Hexadecimal1);
    click(window().SaltardeLineayHoraporTlg1);
    const MonitorState& state = window().State;
    return state.HexMode && !state.CtrlMode && state.SkipLine && state.ShowTime;
}

bool ProgramUnderTest::startCapture(const std::string& path) {
    boxes_.fileAnswers.push_back(path);
    std::error_code error;
    if (std::filesystem::exists(path, error)) boxes_.yesNoAnswers.push_back(true);  // replace it
    click(window().Nuevo1);
    return window().State.Capturing;
}

void ProgramUnderTest::stopCapture() {
    click(window().Cerrar1);
}

std::int64_t ProgramUnderTest::received() const {
    return windows_->FmEscuchar->State.RxCount;
}

std::optional<std::chrono::steady_clock::time_point> ProgramUnderTest::waitUntilReceived(
    std::int64_t count, std::chrono::milliseconds quiet) {
    using Clock = std::chrono::steady_clock;
    std::int64_t last = received();
    Clock::time_point lastMove = Clock::now();
    while (received() < count) {
        RunEventLoopFor(std::chrono::milliseconds(2));
        const Clock::time_point now = Clock::now();
        if (received() != last) {
            last = received();
            lastMove = now;
        } else if (now - lastMove > quiet) {
            return std::nullopt;
        }
    }
    return Clock::now();
}

std::string ProgramUnderTest::boxesShown() const {
    std::string out;
    for (const auto& box : boxes_.shown) {
        if (box.kind == "open" || box.kind == "yesno") continue;
        out += (out.empty() ? "" : "; ") + box.text;
    }
    return out;
}

std::unique_ptr<ProgramOnPtys> StartOnPtys(const std::string& figure) {
    auto started = std::make_unique<ProgramOnPtys>();
    if (!started->lines[0].ok() || !started->lines[1].ok()) {
        PrintNotMeasured(figure, "no pseudo-terminal");
        return nullptr;
    }
    started->program.emplace(started->lines[0].slavePath(), started->lines[1].slavePath());
    if (!started->program->portsOpen()) {
        PrintNotMeasured(figure, "the ports did not open: " + started->program->boxesShown());
        return nullptr;
    }
    return started;
}

void RunEventLoopFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace varelo::bench
