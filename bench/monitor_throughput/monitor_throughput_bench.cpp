// Throughput of the line monitor as the user runs it: the real main window, shown on
// the offscreen platform, both ports open on pseudo-terminals, Hexa mode with a header
// and the arrival time for each telegram, and a capture file. A writer thread feeds
// the far ends of the lines as fast as they take bytes; the figures are the bytes per
// second that reached the capture file, the CPU used, and the longest time the event
// loop could not run (measured by a 5 ms timer). The capture must hold exactly the
// rendering of what was written. Then both ports idle, polling every 50 ms.
//
// Usage: bench_monitor_throughput [seconds of traffic, default 5] [seconds idle, default 20]
// On a machine busy with other work the wall-clock figures measure the waits for the
// processor; run it as `chrt -f 10 bench_monitor_throughput` there to measure the program.
#include "app/main_window.h"
#include "platform/ui/scripted_modal_boxes.h"
#include "util/shared_state.h"
#include "widgets/spin_edit.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace varelo {
namespace {

struct Line {
    int master = -1;
    std::string slave;
    Line() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slave = ::ptsname(master);
    }
    ~Line() {
        if (master >= 0) ::close(master);
    }
};

// Byte n of the stream sent to a port: every value occurs, in no simple cycle.
unsigned char patternByte(int port, std::uint64_t n) {
    return static_cast<unsigned char>(n * 131 + (n >> 9) + static_cast<std::uint64_t>(port) * 77);
}

double seconds(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

double threadCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto s = [](const timeval& tv) {
        return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
    };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

// The longest gap between two beats of a 5 ms timer while it runs.
class StallMeter {
  public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestNs_ = std::max(longestNs_, sinceBeat_.nsecsElapsed());
            sinceBeat_.restart();
        });
    }
    void start() {
        longestNs_ = 0;
        sinceBeat_.start();
        timer_.start(5);
    }
    double stop() {
        timer_.stop();
        return static_cast<double>(longestNs_) / 1e6;
    }

  private:
    QTimer timer_;
    QElapsedTimer sinceBeat_;
    qint64 longestNs_ = 0;
};

// The application, timing each event it hands out: the longest one, in wall time
// and in CPU time of the user-interface thread. On a busy machine the wall time
// includes waits for the processor; the CPU time is what the event itself costs.
class MeasuredApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (depth_++ > 0) {  // an event sent from within another is part of it
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        const double cpu0 = threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        const bool handled = QApplication::notify(receiver, event);
        longestWallMs_ = std::max(longestWallMs_, static_cast<double>(wall.nsecsElapsed()) / 1e6);
        longestCpuMs_ = std::max(longestCpuMs_, (threadCpuSeconds() - cpu0) * 1e3);
        --depth_;
        return handled;
    }
    void resetLongest() { longestWallMs_ = longestCpuMs_ = 0; }
    double longestWallMs() const { return longestWallMs_; }
    double longestCpuMs() const { return longestCpuMs_; }

  private:
    int depth_ = 0;
    double longestWallMs_ = 0;
    double longestCpuMs_ = 0;
};

MeasuredApplication& application() {
    return *static_cast<MeasuredApplication*>(QCoreApplication::instance());
}

// Feeds the far ends of the chosen lines until the time is up.
class Writer {
  public:
    Writer(std::vector<std::pair<int, int>> portsAndMasters, double forSeconds)
        : lines_(std::move(portsAndMasters)), thread_([this, forSeconds] { run(forSeconds); }) {}
    ~Writer() { thread_.join(); }
    bool done() const { return done_; }
    std::uint64_t written(std::size_t i) const { return written_[i]; }

  private:
    void run(double forSeconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(forSeconds);
        std::vector<std::string> chunk(lines_.size(), std::string(64 * 1024, '\0'));
        std::vector<std::size_t> chunkAt(lines_.size(), chunk[0].size());
        std::vector<std::uint64_t> made(lines_.size(), 0);
        while (std::chrono::steady_clock::now() < end) {
            std::vector<pollfd> fds;
            for (const auto& [port, master] : lines_) fds.push_back({master, POLLOUT, 0});
            if (::poll(fds.data(), fds.size(), 10) <= 0) continue;
            for (std::size_t i = 0; i < lines_.size(); ++i) {
                if (!(fds[i].revents & POLLOUT)) continue;
                if (chunkAt[i] == chunk[i].size()) {
                    for (char& c : chunk[i]) c = static_cast<char>(patternByte(lines_[i].first, made[i]++));
                    chunkAt[i] = 0;
                }
                const ssize_t n =
                    ::write(lines_[i].second, chunk[i].data() + chunkAt[i], chunk[i].size() - chunkAt[i]);
                if (n > 0) {
                    chunkAt[i] += static_cast<std::size_t>(n);
                    written_[i] += static_cast<std::uint64_t>(n);
                }
            }
        }
        done_ = true;
    }

    std::vector<std::pair<int, int>> lines_;
    std::array<std::atomic<std::uint64_t>, 2> written_{};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

void runEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the capture back: "\r\nP<port>->", a 14-character arrival time, then each
// byte as "(HH)". Returns the bytes of each port, or an explanation of what is wrong.
bool decodeCapture(const std::string& capture, std::array<std::string, 2>& streams, std::string& problem) {
    std::size_t at = 0;
    while (at < capture.size()) {
        if (capture.compare(at, 3, "\r\nP") != 0 || at + 6 + 14 > capture.size() ||
            (capture[at + 3] != '1' && capture[at + 3] != '2') || capture.compare(at + 4, 2, "->") != 0 ||
            capture.compare(at + 6 + 12, 2, "->") != 0) {
            problem = "no header at offset " + std::to_string(at);
            return false;
        }
        std::string& stream = streams[capture[at + 3] - '1'];
        at += 6 + 14;
        while (at < capture.size() && capture[at] == '(') {
            const int high = at + 3 < capture.size() ? hexDigit(capture[at + 1]) : -1;
            const int low = high >= 0 ? hexDigit(capture[at + 2]) : -1;
            if (low < 0 || capture[at + 3] != ')') {
                problem = "bad byte at offset " + std::to_string(at);
                return false;
            }
            stream += static_cast<char>(high * 16 + low);
            at += 4;
        }
    }
    return true;
}

bool matchesPattern(int port, const std::string& stream, std::uint64_t written) {
    if (stream.size() != written) return false;
    for (std::uint64_t n = 0; n < written; ++n)
        if (static_cast<unsigned char>(stream[n]) != patternByte(port, n)) return false;
    return true;
}

struct Row {
    std::string scenario;
    std::string port;
    double mbPerSecond = 0;
    std::uint64_t bytes = 0;
    std::string capture;
    double mainCpuPercent = 0;
    double processCpuPercent = 0;
    double uiCpuMsPerMB = 0;
    double stallMs = 0;
    double longestEventWallMs = 0;
    double longestEventCpuMs = 0;
};

class Bench {
  public:
    Bench(Line& com1, Line& com2) : com1_(com1), com2_(com2) {
        window_ = std::make_unique<TFmEscuchar>(shared_, boxes_, systemWallClock(), systemTickClock());
        window_->show();
        runEventsFor(100);
        window_->Hexadecimal1->trigger();
        window_->SaltardeLineayHoraporTlg1->trigger();
        if (!window_->Port1.Connected() || !window_->Port2.Connected()) {
            std::fprintf(stderr, "the ports did not open\n");
            std::exit(1);
        }
    }

    void traffic(const std::string& scenario, const std::vector<int>& ports, double forSeconds,
                 std::vector<Row>& rows) {
        const std::string capturePath = (std::filesystem::temp_directory_path() /
                                         ("varelo-throughput-" + std::to_string(::getpid()) + ".txt"))
                                            .string();
        boxes_.fileAnswers.push_back(capturePath);
        boxes_.yesNoAnswers.push_back(true);
        window_->Nuevo1->trigger();
        if (!window_->State.Capturing) {
            std::fprintf(stderr, "no capture file at %s\n", capturePath.c_str());
            std::exit(1);
        }
        const std::int64_t countBefore = window_->State.RxCount;
        const std::size_t boxesBefore = boxes_.shown.size();

        std::vector<std::pair<int, int>> feeds;
        for (int port : ports) feeds.emplace_back(port, port == 1 ? com1_.master : com2_.master);
        StallMeter stalls;
        stalls.start();
        application().resetLongest();
        const double mainCpu0 = threadCpuSeconds();
        const double processCpu0 = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        std::uint64_t total = 0;
        {
            Writer writer(feeds, forSeconds);
            QEventLoop loop;
            QTimer check;
            QObject::connect(&check, &QTimer::timeout, [&] {
                if (!writer.done()) return;
                total = 0;
                for (std::size_t i = 0; i < feeds.size(); ++i) total += writer.written(i);
                const bool allShown =
                    static_cast<std::uint64_t>(window_->State.RxCount - countBefore) >= total;
                if (allShown || seconds(wall) > forSeconds + 60) loop.quit();
            });
            check.start(1);
            loop.exec();
            const double elapsed = seconds(wall);
            const double mainCpu = threadCpuSeconds() - mainCpu0;
            const double processCpu = processCpuSeconds() - processCpu0;
            const double stallMs = stalls.stop();
            const double longestWallMs = application().longestWallMs();
            const double longestCpuMs = application().longestCpuMs();
            window_->Cerrar1->trigger();

            const std::string capture = readWhole(capturePath);
            std::filesystem::remove(capturePath);
            std::array<std::string, 2> streams;
            std::string problem;
            const bool decoded = decodeCapture(capture, streams, problem);
            for (std::size_t i = 0; i < feeds.size(); ++i) {
                const int port = feeds[i].first;
                Row row;
                row.scenario = i == 0 ? scenario : "";
                row.port = std::to_string(port);
                row.bytes = writer.written(i);
                row.mbPerSecond = static_cast<double>(row.bytes) / elapsed / 1e6;
                if (!decoded)
                    row.capture = problem;
                else if (matchesPattern(port, streams[port - 1], row.bytes))
                    row.capture = "exact";
                else
                    row.capture = "DIFFERS (" + std::to_string(streams[port - 1].size()) + " bytes)";
                row.mainCpuPercent = 100 * mainCpu / elapsed;
                row.processCpuPercent = 100 * processCpu / elapsed;
                row.uiCpuMsPerMB = 1e3 * mainCpu / (static_cast<double>(total) / 1e6);
                row.stallMs = stallMs;
                row.longestEventWallMs = longestWallMs;
                row.longestEventCpuMs = longestCpuMs;
                rows.push_back(row);
            }
        }
        for (std::size_t i = boxesBefore; i < boxes_.shown.size(); ++i)
            std::fprintf(stderr, "shown during the run: %s %s\n", boxes_.shown[i].kind.c_str(),
                         boxes_.shown[i].text.c_str());
    }

    void idle(double forSeconds, std::vector<Row>& rows) {
        window_->SEDelay->setValue(50);
        StallMeter stalls;
        const double mainCpu0 = threadCpuSeconds();
        const double processCpu0 = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runEventsFor(static_cast<int>(forSeconds * 1000));
        const double elapsed = seconds(wall);
        Row row;
        row.scenario = "idle, both ports polling every 50 ms";
        row.port = "1+2";
        row.capture = "-";
        row.mainCpuPercent = 100 * (threadCpuSeconds() - mainCpu0) / elapsed;
        row.processCpuPercent = 100 * (processCpuSeconds() - processCpu0) / elapsed;
        rows.push_back(row);
    }

  private:
    static std::string readWhole(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    Line& com1_;
    Line& com2_;
    SharedState shared_;
    ScriptedModalBoxes boxes_;
    std::unique_ptr<TFmEscuchar> window_;
};

void printTable(const std::vector<Row>& rows) {
    std::printf("%-40s %-4s %7s %10s %-6s %7s %7s %9s %8s %15s\n", "scenario", "port", "MB/s", "bytes",
                "capture", "UI CPU", "all CPU", "UI ms/MB", "stall ms", "longest event");
    std::printf("%-40s %-4s %7s %10s %-6s %7s %7s %9s %8s %15s\n", "", "", "", "", "", "", "", "", "",
                "wall / CPU ms");
    for (const Row& r : rows) {
        if (r.bytes > 0)
            std::printf("%-40s %-4s %7.2f %10llu %-6s %6.1f%% %6.1f%% %9.1f %8.1f %7.1f / %5.1f\n",
                        r.scenario.c_str(), r.port.c_str(), r.mbPerSecond,
                        static_cast<unsigned long long>(r.bytes), r.capture.c_str(), r.mainCpuPercent,
                        r.processCpuPercent, r.uiCpuMsPerMB, r.stallMs, r.longestEventWallMs,
                        r.longestEventCpuMs);
        else
            std::printf("%-40s %-4s %7s %10s %-6s %6.2f%% %6.2f%% %9s %8s %15s\n", r.scenario.c_str(),
                        r.port.c_str(), "-", "-", r.capture.c_str(), r.mainCpuPercent, r.processCpuPercent,
                        "-", "-", "-");
    }
    double load[1] = {0};
    ::getloadavg(load, 1);
    std::printf(
        "UI: the user-interface thread. UI ms/MB: its CPU time per MB received (1000 / that = the MB/s one "
        "core\n"
        "could take). Load average during the run: %.1f on %ld cores.\n"
        "Targets: >= 2 MB/s per port with both ports (later >= 11 MB/s one port, >= 4 MB/s both); "
        "no stall over 100 ms; idle under 1%% of a core.\n",
        load[0], ::sysconf(_SC_NPROCESSORS_ONLN));
}

}  // namespace
}  // namespace varelo

int main(int argc, char* argv[]) {
    const double trafficSeconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const double idleSeconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    varelo::Line com1, com2;
    if (com1.slave.empty() || com2.slave.empty()) {
        std::fprintf(stderr, "no pseudo-terminals\n");
        return 1;
    }
    ::setenv("VARELO_COM1", com1.slave.c_str(), 1);
    ::setenv("VARELO_COM2", com2.slave.c_str(), 1);
    varelo::MeasuredApplication app(argc, argv);

    std::vector<varelo::Row> rows;
    {
        varelo::Bench bench(com1, com2);
        bench.traffic("one port, Hexa, header+time, capture", {1}, trafficSeconds, rows);
        bench.traffic("both ports, Hexa, header+time, capture", {1, 2}, trafficSeconds, rows);
        if (idleSeconds > 0) bench.idle(idleSeconds, rows);
    }
    varelo::printTable(rows);
    return 0;
}
