#include "app/monitor/capture_file.h"

#include "util/run_time_errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace varelo {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string tempPath() {
    char name[] = "/tmp/varelo-capture-XXXXXX";
    const int fd = mkstemp(name);
    close(fd);
    return name;
}

TEST(CaptureFile, EveryPieceIsOnDiskAsSoonAsItIsWritten) {
    const std::string path = tempPath();
    {
        std::ofstream(path) << "old content that must go";
    }
    CaptureFile file;
    ASSERT_TRUE(file.open(path));
    file.write("\r\nP1->");
    EXPECT_EQ(readAll(path), "\r\nP1->") << "the file is emptied and the piece flushed";
    file.write(std::string("A\0B", 3));
    EXPECT_EQ(readAll(path), std::string("\r\nP1->A\0B", 9));
    file.close();
    EXPECT_FALSE(file.isOpen());
    file.close();  // a second close is harmless
    std::remove(path.c_str());
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
