#include "app/monitor/capture_file.h"

#include "app/monitor/tests/monitor_fakes.h"
#include "util/run_time_errors.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

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

TEST(CaptureFile, AFileRemovedWithItsFolderRaisesAnIoErrorAtEachLaterPiece) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("varelo-capture-removed-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    CaptureFile file;
    ASSERT_TRUE(file.open((folder / "capture.txt").string()));
    file.write("before");
    std::filesystem::remove_all(folder);
    for (const char* piece : {"after", "again"}) {
        try {
            file.write(piece);
            FAIL() << "a piece written into a removed file is lost: " << piece;
        } catch (const IoError& e) {
            EXPECT_STREQ(e.what(), "I/O error 2");
        }
    }
    EXPECT_NO_THROW(file.close());
}

TEST(CaptureFile, AFolderThatDoesNotExistCannotBeOpened) {
    CaptureFile file;
    EXPECT_FALSE(file.open("/nonexistent-folder/capture.txt"));
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.write("ignored while closed"));
}

}  // namespace
}  // namespace varelo
