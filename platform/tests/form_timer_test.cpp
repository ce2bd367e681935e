#include "platform/form_timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace varelo {
namespace {

void runEventsFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(FormTimer, TicksOnlyWhileEnabledAndWithAPositiveInterval) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    FormTimer timer(nullptr, 20);
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });

    runEventsFor(60);
    EXPECT_EQ(ticks, 0) << "a timer starts disabled";

    timer.setEnabled(true);
    runEventsFor(120);
    EXPECT_GT(ticks, 0);

    timer.setInterval(0);
    const int before = ticks;
    runEventsFor(60);
    EXPECT_EQ(ticks, before) << "an interval of 0 stops the timer";
}

TEST(FormTimer, WritingTheSameValueDoesNotRestartThePeriod) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    FormTimer timer(nullptr, 80);
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });
    timer.setEnabled(true);
    // Rewriting the same interval more often than the period must not starve the timer.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) {
        timer.setInterval(80);
        timer.setEnabled(true);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_GE(ticks, 2);
}

TEST(FormTimer, ATickDueBeforeAStopOrARestartNeverComesAfterIt) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    FormTimer timer(nullptr, 10);
    int ticks = 0;
    timer.setOnTimer([&] { ++ticks; });

    // The period runs out while the window is busy; the tick waits for the loop.
    timer.setEnabled(true);
    QElapsedTimer busy;
    busy.start();
    while (busy.elapsed() < 40) {
    }
    timer.setEnabled(false);
    runEventsFor(40);
    EXPECT_EQ(ticks, 0) << "a stopped timer delivered a tick that fell due before the stop";

    // Several periods missed while busy make one tick, and a restart begins a whole
    // new period.
    timer.setEnabled(true);
    busy.restart();
    while (busy.elapsed() < 45) {
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 1);
    timer.setInterval(1000);
    runEventsFor(100);
    EXPECT_EQ(ticks, 1) << "changing the interval starts its period again from now";
}

}  // namespace
}  // namespace varelo
