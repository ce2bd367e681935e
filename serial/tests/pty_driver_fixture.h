#pragma once

#include "serial/comm_port_driver.h"
#include "serial/tests/fake_tick_clock.h"
#include "serial/tests/pseudo_terminal.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace varelo::test {

// A driver on the slave end of a fresh pseudo-terminal, with a tick counter the
// test moves, and a record of what it delivered.
class PtyDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        driver.SetPortName(pty.slavePath());
        // Ticks come from the test alone, also while it lets the event loop run.
        driver.SetPollingDelay(std::numeric_limits<std::uint16_t>::max());
        driver.SetOnReceiveData(
            [this](TCommPortDriver& sender, const std::uint8_t* data, std::uint32_t size) {
                EXPECT_EQ(&sender, &driver);
                events.emplace_back(reinterpret_cast<const char*>(data), size);
            });
        driver.SetOnReceivePacket([this](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
            events.emplace_back(reinterpret_cast<const char*>(data), size);
        });
    }

    // Writes at the far end; the bytes are in the driver's reach when it returns.
    void farEndSends(const std::string& bytes) { ASSERT_TRUE(pty.writeAll(bytes)); }

    std::string received() const {
        std::string all;
        for (const std::string& e : events) all += e;
        return all;
    }

    int argc = 0;
    QCoreApplication app{argc, nullptr};
    PseudoTerminal pty;
    FakeTickClock clock;
    TCommPortDriver driver{nullptr, {}, clock};
    std::vector<std::string> events;
};

// Bytes 0..n-1 of a pattern that shows loss, repeats and reordering.
inline std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) % 256);
    return s;
}

}  // namespace varelo::test
