#include "platform/ui/posted_error_box.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/run_time_errors.h"

#include <QCoreApplication>

#include <cerrno>

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(PostedErrorBox, TheBoxOpensAfterTheTickAndOneAtATime) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    ScriptedModalBoxes boxes;
    PostedErrorBox box(boxes);
    const auto failingTick = [&](int e) { return runGuarded(box, [e] { throw IoError(e); }); };

    EXPECT_FALSE(failingTick(ENOSPC));
    EXPECT_TRUE(boxes.shown.empty()) << "not inside the tick";
    EXPECT_FALSE(failingTick(EIO)) << "a second error while the first waits";

    int failuresWhileOpen = 0;
    boxes.whileOpen = [&] {
        failuresWhileOpen += !failingTick(EPIPE);
        QCoreApplication::processEvents();
    };
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"Disk full"});
    EXPECT_EQ(failuresWhileOpen, 1);
    EXPECT_FALSE(box.waitingOrOpen()) << "nothing stacked inside the open box";

    boxes.whileOpen = nullptr;
    failingTick(EPIPE);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts("runtime"), (std::vector<std::string>{"Disk full", "I/O error 32"}));
}

}  // namespace
}  // namespace varelo
