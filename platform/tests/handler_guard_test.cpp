#include "platform/ui/handler_guard.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/run_time_errors.h"

#include <cerrno>

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(HandlerGuard, RunTimeErrorsEndTheHandlerAndShowTheirText) {
    struct Case {
        std::exception_ptr error;
        std::string text;
    };
    const Case cases[] = {
        {std::make_exception_ptr(ConversionError("x6")), "'x6' is not a valid integer value"},
        {std::make_exception_ptr(IoError(ENOSPC)), "Disk full"},
        {std::make_exception_ptr(IoError(EACCES)), "File access denied"},
        {std::make_exception_ptr(IoError(EIO)), "I/O error 5"},
    };
    for (const auto& c : cases) {
        ScriptedModalBoxes boxes;
        bool after = false;
        EXPECT_FALSE(runGuarded(boxes, [&] {
            std::rethrow_exception(c.error);
            after = true;
        }));
        EXPECT_FALSE(after);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0], (ScriptedModalBoxes::Shown{"runtime", c.text}));
    }
}

TEST(HandlerGuard, AHandlerThatSucceedsShowsNothing) {
    ScriptedModalBoxes boxes;
    int runs = 0;
    EXPECT_TRUE(runGuarded(boxes, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace varelo
