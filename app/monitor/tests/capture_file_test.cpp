#include "app/monitor/capture_file.h"

#include "app/monitor/tests/monitor_fakes.h"
#include "util/run_time_errors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

class CaptureFilePipe : public ::testing::Test {
  protected:
    void SetUp() override {
        pipe = std::filesystem::temp_directory_path() / ("varelo-capture-pipe-" + std::to_string(::getpid()));
        std::filesystem::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    }
    void TearDown() override {
        if (reader >= 0) ::close(reader);
        std::filesystem::remove(pipe);
    }
    void openReader() {
        reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
    }
    std::string readAll() { return testing::readWaiting(reader); }
    static std::string errorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const IoError& e) {
            return e.what();
        }
        return "";
    }

    std::filesystem::path pipe;
    int reader = -1;
};

TEST_F(CaptureFilePipe, APipeWithoutAReaderCannotBeOpened) {
    CaptureFile file;
    EXPECT_FALSE(file.open(pipe.string()));
    EXPECT_FALSE(file.isOpen());
}

TEST_F(CaptureFilePipe, WhatASlowReaderHasNotTakenIsHeldBackInOrder) {
    openReader();
    CaptureFile file;
    ASSERT_TRUE(file.open(pipe.string()));
    int backlogCalls = 0;
    file.setOnBacklog([&] { ++backlogCalls; });
    std::string written;
    for (int i = 0; i < 40; ++i) {  // 40 pieces of 4000 bytes, more than the pipe holds
        const std::string piece(4000, static_cast<char>('a' + i % 26));
        file.write(piece);
        written += piece;
    }
    EXPECT_TRUE(file.backlogged());
    EXPECT_GT(backlogCalls, 0);

    std::string got;
    for (int turn = 0; turn < 100 && file.backlogged(); ++turn) {
        got += readAll();
        file.writeBacklog();
    }
    got += readAll();
    EXPECT_FALSE(file.backlogged());
    EXPECT_TRUE(got == written) << got.size() << " of " << written.size() << " bytes, or out of order";

    // Held back up to the limit; a piece beyond it is refused and reported.
    file.write(std::string(70000, 'x'));
    file.write(std::string(CaptureFile::BacklogLimit - 10000, 'y'));
    EXPECT_EQ(errorOf([&] { file.write(std::string(20000, 'z')); }), "I/O error 11");
    // A close that leaves bytes the reader never took says so.
    EXPECT_EQ(errorOf([&] { file.close(); }), "I/O error 11");
    EXPECT_FALSE(file.isOpen());
}

TEST_F(CaptureFilePipe, AReaderThatLeavesIsABrokenPipeAtEachLaterPiece) {
    openReader();
    CaptureFile file;
    ASSERT_TRUE(file.open(pipe.string()));
    file.write("seen");
    EXPECT_EQ(readAll(), "seen");
    ::close(reader);
    reader = -1;
    EXPECT_EQ(errorOf([&] { file.write("lost"); }), "I/O error 32");
    EXPECT_EQ(errorOf([&] { file.write("again"); }), "I/O error 32");
    EXPECT_EQ(errorOf([&] { file.close(); }), "");
}

TEST(CaptureFile, AFolderThatDoesNotExistCannotBeOpened) {
    CaptureFile file;
    EXPECT_FALSE(file.open("/nonexistent-folder/capture.txt"));
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.write("ignored while closed"));
}

}  // namespace
}  // namespace varelo
