#include "app/tests/monitor_window_fixture.h"

#include <QLineEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace varelo::test {
namespace {

// Rescues a window stuck on a capture pipe, so that the test fails instead of
// hanging: when the test has not called done() within a few seconds, a reader of
// its own opens the pipe (which ends a writer's open) and empties it until done()
// (which ends a writer's wait for room).
class PipeRescue {
  public:
    explicit PipeRescue(std::string pipe) : pipe_(std::move(pipe)), thread_([this] { run(); }) {}
    ~PipeRescue() { done(); }

    void done() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    bool rescued() const { return rescued_; }

  private:
    void run() {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::seconds(4), [this] { return done_; })) return;
        rescued_ = true;
        const int fd = ::open(pipe_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        char buffer[65536];
        while (!wake_.wait_for(lock, std::chrono::milliseconds(1), [this] { return done_; }))
            if (fd >= 0) while (::read(fd, buffer, sizeof buffer) > 0) {}
        if (fd >= 0) ::close(fd);
    }

    std::string pipe_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

class CapturePipe : public MonitorWindowTest {
  protected:
    void SetUp() override {
        MonitorWindowTest::SetUp();
        pipe = path("capture.pipe");
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    }
    void TearDown() override {
        if (reader >= 0) ::close(reader);
        MonitorWindowTest::TearDown();
    }

    // A reader that holds the pipe open, as `cat` would, and reads only when told.
    void holdReader() {
        reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
    }
    std::string readPipe() { return varelo::testing::readWaiting(reader); }

    std::string pipe;
    int reader = -1;
};

TEST_F(CapturePipe, APipeThatNobodyReadsIsRefusedAtOnceWithTheOpenFailure) {
    boxes.fileAnswers.push_back(pipe);
    boxes.yesNoAnswers.push_back(true);  // it exists: replace it
    PipeRescue rescue(pipe);
    click(window().Nuevo1);
    rescue.done();

    EXPECT_FALSE(rescue.rescued()) << "the window waited in the open for a reader";
    EXPECT_EQ(boxes.texts("error"), std::vector<std::string>{"File Error|I can´t open the request file."});
    EXPECT_FALSE(window().State.Capturing);
    EXPECT_TRUE(window().Nuevo1->isEnabled());
}

TEST_F(CapturePipe, AReaderThatLeavesIsAnIoErrorAndReceivingGoesOn) {
    holdReader();
    startCapture(pipe);
    ASSERT_TRUE(com2.writeAll("AB"));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 2; }));
    EXPECT_EQ(readPipe(), "AB");

    ::close(reader);  // the reader goes: the next block finds a broken pipe
    reader = -1;
    ASSERT_TRUE(com2.writeAll("CD"));
    ASSERT_TRUE(runUntil([&] { return !boxes.texts("runtime").empty(); }));
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"I/O error 32"});
    ASSERT_TRUE(com2.writeAll("E"));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 5; }));
    EXPECT_EQ(screenRow(1).substr(0, 6), "ABCDE ");
    EXPECT_TRUE(window().Port2.Connected());

    // File, Close and a new capture on the pipe, read again, work as before.
    click(window().Cerrar1);
    holdReader();
    startCapture(pipe);
    ASSERT_TRUE(com2.writeAll("F"));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 6; }));
    EXPECT_EQ(readPipe(), "F");
}

TEST_F(CapturePipe, ASlowReaderNeverHoldsTheWindowAndGetsEverythingInOrder) {
    holdReader();
    startCapture(pipe);
    // Several times what the pipe holds, while its reader reads nothing.
    std::string fed;
    for (int i = 0; fed.size() < 300000; ++i) fed += static_cast<char>('A' + i % 26);
    {
        PipeRescue rescue(pipe);
        ASSERT_TRUE(com2.writeAll(fed));
        ASSERT_TRUE(runUntil([&] { return window().State.RxCount == static_cast<std::int64_t>(fed.size()); }));
        rescue.done();
        ASSERT_FALSE(rescue.rescued()) << "the window waited in a write for the reader";
    }

    // The reader now reads: what was held back follows without another block.
    std::string got;
    EXPECT_TRUE(runUntil([&] {
        got += readPipe();
        return got.size() >= fed.size();
    }));
    EXPECT_EQ(got.size(), fed.size());
    EXPECT_TRUE(got == fed) << "the capture differs from what was received";
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{});
}

TEST_F(CapturePipe, NullAndFullDevicesKeepTheirBehaviour) {
    startCapture("/dev/null");
    ASSERT_TRUE(com2.writeAll("AB"));
    ASSERT_TRUE(runUntil([&] { return window().State.RxCount == 2; }));
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{});
    click(window().Cerrar1);

    startCapture("/dev/full");
    ASSERT_TRUE(com2.writeAll("C"));
    ASSERT_TRUE(runUntil([&] { return !boxes.texts("runtime").empty(); }));
    EXPECT_EQ(boxes.texts("runtime"), std::vector<std::string>{"Disk full"});
}

}  // namespace
}  // namespace varelo::test
