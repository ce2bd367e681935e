// The stable name by which a lost adapter is looked for again.
#include "trace/device_names.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace varelo {
namespace {

namespace fs = std::filesystem;

TEST(StableDeviceName, APathInTheFolderIsItselfAndAnotherFindsItsLink) {
    char name[] = "/tmp/varelo-by-id.XXXXXX";
    const fs::path root = mkdtemp(name);
    fs::create_directories(root / "by-id");
    std::ofstream(root / "ttyUSB0").put('x');
    std::ofstream(root / "ttyUSB1").put('x');
    fs::create_symlink(root / "ttyUSB1", root / "by-id" / "usb-FTDI_FT232R_A6008isP-if00-port0");
    const std::string byId = (root / "by-id").string();
    const std::string link = (root / "by-id" / "usb-FTDI_FT232R_A6008isP-if00-port0").string();

    EXPECT_EQ(StableDeviceName(link, byId), link);
    EXPECT_EQ(StableDeviceName((root / "ttyUSB1").string(), byId), link);
    EXPECT_EQ(StableDeviceName((root / "ttyUSB0").string(), byId), "");
    EXPECT_EQ(StableDeviceName((root / "ttyUSB7").string(), byId), "");
    EXPECT_EQ(StableDeviceName((root / "ttyUSB1").string(), (root / "none").string()), "");
    fs::remove_all(root);
}

}  // namespace
}  // namespace varelo
