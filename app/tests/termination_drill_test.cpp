// The program ended by the system (a logout's SIGTERM, Ctrl+C's SIGINT, a closed
// terminal's SIGHUP) closes as File, Exit closes it: the process ends normally,
// its ports are left free (no exclusive mark, no lock file) for the next program,
// and its capture holds everything it showed. The real program, offscreen, on
// pseudo-terminals; and the capture drill's program, which ends the same way.
#include "app/tests/termination_drill.h"

#include "serial/posix_serial_device.h"
#include "serial/tests/pseudo_terminal.h"
#include "serial/uucp_lock.h"
#include "sim/tests/child_process.h"

#include <QApplication>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace varelo::test {
namespace {

std::string LockFileOf(const std::string& device) {
    return std::string(kUucpLockDir) + "/" + UucpLockName(device);
}

}  // namespace

void ExpectLeftFree(const std::string& device) {
    SCOPED_TRACE(device);
    EXPECT_FALSE(MarkedExclusive(device)) << "the exclusive mark is cleared";
    EXPECT_FALSE(std::filesystem::exists(LockFileOf(device))) << "the lock file is removed";
    if (!QApplication::instance()) {  // the device watches for input on the event loop
        static int argc = 1;
        static char name[] = "fault_drills_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);  // the drills that follow may need windows
    }
    EXPECT_NE(OpenPosixSerialDevice(device), nullptr) << "the next program opens the line";
}

namespace {

// The real program on two pseudo-terminals, once per signal. It holds its ports
// once they are marked exclusive; the signal comes at any moment after that,
// whether or not the window has been shown yet.
TEST(TerminationDrill, EachSignalEndsTheProgramAsFileExitDoesAndLeavesItsPortsFree) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(signalNumber));
        PseudoTerminal com1, com2;
        ASSERT_TRUE(com1.ok() && com2.ok());
        ::setenv("VARELO_COM1", com1.slavePath().c_str(), 1);
        ::setenv("VARELO_COM2", com2.slavePath().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ChildProcess program(VARELO_PROGRAM, {});
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!(MarkedExclusive(com1.slavePath()) && MarkedExclusive(com2.slavePath()))) {
            ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the program did not open its ports";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }

        program.signal(signalNumber);
        const auto status = program.waitForExit(std::chrono::seconds(20));
        ASSERT_TRUE(status) << "still running";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << "ended in order, not killed: status " << *status << "\n" << program.errorOutput();
        ExpectLeftFree(com1.slavePath());
        ExpectLeftFree(com2.slavePath());
    }
    ::unsetenv("VARELO_COM1");
    ::unsetenv("VARELO_COM2");
}

// COM2 cannot be opened, so the start-up box for it is open (or about to open)
// once COM1 is held: the signal ends the box, and with it the program, before the
// main window is ever shown.
TEST(TerminationDrill, ASignalWhileTheStartUpBoxIsOpenEndsTheProgramAndFreesThePortItHeld) {
    PseudoTerminal com1;
    ASSERT_TRUE(com1.ok());
    ::setenv("VARELO_COM1", com1.slavePath().c_str(), 1);
    ::setenv("VARELO_COM2", "/tmp/varelo-no-such-device", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ChildProcess program(VARELO_PROGRAM, {});
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!MarkedExclusive(com1.slavePath())) {
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the program did not open port 1";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    program.signal(SIGTERM);
    const auto status = program.waitForExit(std::chrono::seconds(20));
    ASSERT_TRUE(status) << "still running";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "status " << *status;
    ExpectLeftFree(com1.slavePath());
    ::unsetenv("VARELO_COM1");
    ::unsetenv("VARELO_COM2");
}

}  // namespace
}  // namespace varelo::test
