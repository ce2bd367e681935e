// Sending: whole blocks, and the time-out when the line takes nothing more.
#include "serial/tests/pty_driver_fixture.h"

namespace varelo::test {
namespace {

using DriverSend = PtyDriverTest;

TEST_F(DriverSend, BlocksReachTheFarEndWholeAndInOrder) {
    ASSERT_TRUE(driver.Connect());
    EXPECT_EQ(driver.OutputFreeSpace(), 2048) << "a pseudo-terminal reports an empty output queue";
    const std::string block = Pattern(5000);
    EXPECT_TRUE(driver.SendString(block));
    EXPECT_EQ(driver.SendData("z", 1), 1u);
    EXPECT_EQ(pty.readAvailable(), block + "z");
}

TEST_F(DriverSend, NothingToSendOrNowhereToSendIt) {
    EXPECT_TRUE(driver.SendString("")) << "closed";
    EXPECT_FALSE(driver.SendString("x"));
    EXPECT_EQ(driver.SendData("x", 1), 0u);
    EXPECT_EQ(driver.SendDataWithTimeout("x", 1, 10), 0u);
    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.SendString("")) << "open";
    EXPECT_EQ(driver.SendData("x", 0), 0u);
    EXPECT_EQ(pty.readAvailable(), "");
}

// The far end never reads: the line fills up, and the send ends after the time-out
// without progress with what it could write. The clock moves 10 ms at each reading.
TEST_F(DriverSend, FullLineEndsTheSendAfterTheTimeOut) {
    clock.setStep(10);
    ASSERT_TRUE(driver.Connect());
    const std::string block = Pattern(256 * 1024);
    const std::uint32_t sent =
        driver.SendDataWithTimeout(block.data(), static_cast<std::uint32_t>(block.size()), 50);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, block.size());
    EXPECT_EQ(driver.SendDataWithTimeout("more", 4, 50), 0u);
    EXPECT_FALSE(driver.SendString("more"));
    EXPECT_EQ(pty.readAvailable(), block.substr(0, sent)) << "what was counted as sent is what went out";
}

// Output the line holds back is dropped when the port closes, rather than left for
// the close to wait on: a serial port with CTS low or an XOFF received would hold
// the close (and the window) until it drained, up to half a minute. Here the far
// end never reads; what it finds after the close is at most what had already
// crossed the line, the start of what was sent and in order.
TEST_F(DriverSend, ClosingDropsTheOutputTheLineHoldsBack) {
    clock.setStep(10);
    ASSERT_TRUE(driver.Connect());
    const std::string block = Pattern(256 * 1024);
    const std::uint32_t sent =
        driver.SendDataWithTimeout(block.data(), static_cast<std::uint32_t>(block.size()), 50);
    ASSERT_GT(sent, 0u);
    ASSERT_LT(sent, block.size()) << "the line is full";

    driver.Disconnect();
    const std::string arrived = pty.readAvailable();
    EXPECT_LT(arrived.size(), sent) << "the output still held when the port closed is dropped";
    EXPECT_EQ(arrived, block.substr(0, arrived.size()));
}

TEST_F(DriverSend, XoffFromTheFarEndHoldsTheLineUntilXon) {
    clock.setStep(10);
    driver.SetSwFlow(sfXONXOFF);
    ASSERT_TRUE(driver.Connect());
    farEndSends("\x13");
    driver.PollingTick();  // the tty has taken the XOFF when the tick has read the line
    EXPECT_FALSE(driver.SendString("held"));
    farEndSends("\x11");
    driver.PollingTick();
    EXPECT_TRUE(driver.SendString("free"));
    EXPECT_EQ(pty.readAvailable(), "free");
    EXPECT_TRUE(events.empty()) << "XON and XOFF are not data";
}

TEST_F(DriverSend, CheckingTheLineStopsWhenNoModemLineIsOn) {
    clock.setStep(10);
    driver.SetCheckLineStatus(true);
    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.GetModemLines().none()) << "a pseudo-terminal has no modem lines";
    EXPECT_FALSE(driver.SendString("abc"));
    EXPECT_EQ(pty.readAvailable(), "");
}

}  // namespace
}  // namespace varelo::test
