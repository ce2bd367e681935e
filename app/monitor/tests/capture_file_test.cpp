#include "app/monitor/capture_file.h"

#include "app/monitor/tests/monitor_fakes.h"
#include "util/run_time_errors.h"

#include <gtest/gtest.h>

#include <fstream>

namespace varelo {
namespace {

using testing::TempFile;

TEST(CaptureFile, EveryPieceIsOnDiskAsSoonAsItIsWritten) {
    TempFile temp;
    { std::ofstream(temp.path()) << "old content that must go"; }
    CaptureFile file;
    ASSERT_TRUE(file.open(temp.path()));
    file.write("\r\nP1->");
    EXPECT_EQ(temp.content(), "\r\nP1->") << "the file is emptied and the piece flushed";
    file.write(std::string("A\0B", 3));
    EXPECT_EQ(temp.content(), std::string("\r\nP1->A\0B", 9));
    file.close();
    EXPECT_FALSE(file.isOpen());
    file.close();  // a second close is harmless
}

TEST(CaptureFile, AFullDiskRaisesDiskFullAtTheFirstWrite) {
    CaptureFile file;
    ASSERT_TRUE(file.open("/dev/full"));
    try {
        file.write("P1->");
        FAIL() << "a write to a full disk must fail";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_THROW(file.write("again"), IoError) << "every later piece fails too";
}

TEST(CaptureFile, AFolderThatDoesNotExistCannotBeOpened) {
    CaptureFile file;
    EXPECT_FALSE(file.open("/nonexistent-folder/capture.txt"));
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.write("ignored while closed"));
}

}  // namespace
}  // namespace varelo
