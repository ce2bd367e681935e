// The lock file's name, what it holds, and how the process in it is read back.
#include "serial/uucp_lock.h"

#include <gtest/gtest.h>

namespace varelo::test {
namespace {

TEST(UucpLockFile, NameFollowsTheDeviceBelowDev) {
    const struct {
        const char* device;
        const char* name;
    } cases[] = {
        {"/dev/ttyUSB0", "LCK..ttyUSB0"},
        {"/dev/pts/3", "LCK..pts_3"},
        {"/dev/serial/by-id/usb-x", "LCK..serial_by-id_usb-x"},
        {"/tmp/vtty0", "LCK..vtty0"},
    };
    for (const auto& c : cases) EXPECT_EQ(UucpLockName(c.device), c.name) << c.device;
}

TEST(UucpLockFile, ContentNamesTheProcessInTenCharacters) {
    EXPECT_EQ(UucpLockContent(1234), "      1234\n");
    EXPECT_EQ(UucpLockContent(2147483647), "2147483647\n");
}

TEST(UucpLockFile, OwnerIsReadFromEveryDecimalFormOnly) {
    const struct {
        std::string content;
        std::optional<pid_t> owner;
    } cases[] = {
        {"      1234\n", 1234},
        {"1234", 1234},  // socat's lockfile option writes the bare number
        {"  42 \r\n", 42},
        {"2147483647\n", 2147483647},
        {"", std::nullopt},
        {" \n", std::nullopt},
        {"0\n", std::nullopt},
        {"-5\n", std::nullopt},
        {"12 34\n", std::nullopt},
        {"12a\n", std::nullopt},
        {"2147483648\n", std::nullopt},
        {"99999999999999999999\n", std::nullopt},
        {std::string("\xd2\x04\0\0", 4), std::nullopt},  // an id written as binary
    };
    for (const auto& c : cases) EXPECT_EQ(UucpLockOwner(c.content), c.owner) << '"' << c.content << '"';
}

TEST(UucpLockFile, AFolderThatTakesNoFileLeavesTheDeviceWithoutOne) {
    UucpLock lock;
    EXPECT_TRUE(lock.acquire("/dev/pts/0", "/nonexistent/varelo-lock-folder"));
    EXPECT_TRUE(lock.path().empty());
}

}  // namespace
}  // namespace varelo::test
