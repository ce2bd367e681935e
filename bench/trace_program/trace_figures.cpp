// varelo-trace as a process on pseudo-terminals: two lines flat out with JSON to a
// file and a record at once (beside cat and picocom on the same load), the
// accuracy of its stamps, and its cost while two lines are quiet.
#include "bench/whole_program/child_process.h"
#include "bench/trace_program/trace_figures.h"
#include "bench/whole_program/line_feeder.h"
#include "bench/whole_program/pty_pair.h"
#include "trace/record_file.h"

#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace varelo::bench {
namespace {

using namespace std::chrono_literals;

void MakeRaw(int master) {
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
}

// CPU seconds of the children this process has reaped, and their largest peak
// resident size in MB.
std::pair<double, double> ReapedChildrenUsage() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1000.0};
}

// CPU seconds a running process (all its threads) has used.
double ProcessCpu(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Whether the record holds, per line, exactly the pattern the feeder wrote.
bool RecordHasEverything(const std::string& path, const std::array<std::uint64_t, 2>& written) {
    RecordReader reader;
    if (reader.open(path)) return false;
    std::array<std::uint64_t, 2> at{0, 0};
    bool same = true;
    while (auto entry = reader.next()) {
        const auto* block = std::get_if<RecordedBlock>(&*entry);
        if (!block) continue;
        std::uint64_t& i = at[static_cast<std::size_t>(block->line)];
        for (const char c : block->bytes) same &= static_cast<std::uint8_t>(c) == PatternByte(i++);
    }
    return same && !reader.truncatedAt() && at == written;
}

std::string Quoted(const std::string& command) { return "exec " + command + " >/dev/null 2>&1"; }

}  // namespace

int TraceFloodFigure(const BenchOptions& options) {
    const std::string reader = options.text("reader", "trace");
    const std::string figure = "trace-flood-" + reader;
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 10) * 1000));
    const std::string dir = options.text("dir", "/tmp");
    const std::string trace = options.text("trace", "build-release/trace/varelo-trace");
    std::array<PtyPair, 2> lines;
    for (PtyPair& line : lines) {
        if (!line.ok()) {
            PrintNotMeasured(figure, "no pseudo-terminal");
            return 1;
        }
        MakeRaw(line.master());
    }
    const std::string record = dir + "/trace-flood.vtr";
    std::vector<std::unique_ptr<ChildProcess>> readers;
    if (reader == "trace") {
        readers.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{"sh", "-c",
                                     Quoted(trace + " --json --out " + dir + "/trace-flood.json --record " + record +
                                            " " + lines[0].slavePath() + " " + lines[1].slavePath())},
            ChildProcess::Capture::None));
    } else {
        for (const PtyPair& line : lines) {
            const std::string command =
                reader == "cat" ? Quoted("cat " + line.slavePath())
                                : "exec script -qfc 'picocom -q --exit-after 1000 --logfile " + dir + "/picocom-" +
                                      line.slavePath().substr(9) + ".log " + line.slavePath() + "' /dev/null >/dev/null";
            readers.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{"sh", "-c", command},
                                                             ChildProcess::Capture::None));
        }
    }
    std::this_thread::sleep_for(700ms);  // until the lines are held

    std::array<std::uint64_t, 2> written{};
    {
        LineFeeder first(lines[0].master());
        LineFeeder second(lines[1].master());
        std::this_thread::sleep_for(duration);
        first.stop();
        second.stop();
        written = {first.written(), second.written()};
    }
    // The last bytes in the kernel's buffers; picocom leaves a second after the line goes quiet.
    std::this_thread::sleep_for(reader == "picocom" ? 1500ms : 300ms);
    for (auto& r : readers) r->end(5000ms);
    readers.clear();
    const auto [cpu, peakMb] = ReapedChildrenUsage();
    const double seconds = std::chrono::duration<double>(duration).count();
    std::vector<std::pair<std::string, std::string>> values = {
        {"mbps1", Fixed(static_cast<double>(written[0]) / seconds / 1e6, 2)},
        {"mbps2", Fixed(static_cast<double>(written[1]) / seconds / 1e6, 2)},
        {"cpu", Fixed(cpu / seconds * 100.0, 1)},
        // Bytes of both lines per CPU second: a measure that a crowded machine moves less.
        {"mb_per_cpu_s", Fixed(cpu > 0 ? static_cast<double>(written[0] + written[1]) / cpu / 1e6 : 0.0, 1)},
        {"peak_mb", Fixed(peakMb, 1)},
    };
    if (reader == "trace") values.push_back({"lossless", RecordHasEverything(record, written) ? "yes" : "no"});
    PrintResult(figure, values);
    ::unlink(record.c_str());
    ::unlink((dir + "/trace-flood.json").c_str());
    for (const PtyPair& line : lines) ::unlink((dir + "/picocom-" + line.slavePath().substr(9) + ".log").c_str());
    return 0;
}

int TraceStampFigure(const BenchOptions& options) {
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 30) * 1000));
    const auto period = std::chrono::microseconds(static_cast<long>(1e6 / options.number("rate", 10)));
    const std::string dir = options.text("dir", "/tmp");
    const std::string trace = options.text("trace", "build-release/trace/varelo-trace");
    PtyPair line;
    if (!line.ok()) {
        PrintNotMeasured("trace-stamp", "no pseudo-terminal");
        return 1;
    }
    MakeRaw(line.master());
    const std::string record = dir + "/trace-stamp.vtr";
    auto reader = std::make_unique<ChildProcess>(
        std::vector<std::string>{"sh", "-c", Quoted(trace + " --json --record " + record + " " + line.slavePath())},
        ChildProcess::Capture::None);
    std::this_thread::sleep_for(700ms);

    // The far end stamps each write on the trace's own clock, just before it writes.
    std::vector<KernelStamp> writes;
    const auto end = std::chrono::steady_clock::now() + duration;
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
        std::this_thread::sleep_until(next);
        next += period;
        std::string telegram = {'\x01', '\x03', '\x04', '\x00', '\x00', '\x00', '\x00', '\x00'};
        telegram[4] = static_cast<char>(i);
        writes.push_back(KernelStampNow());
        if (::write(line.master(), telegram.data(), telegram.size()) != static_cast<ssize_t>(telegram.size())) break;
    }
    std::this_thread::sleep_for(200ms);
    reader->end(5000ms);
    reader.reset();

    RecordReader recorded;
    std::vector<double> delays;
    if (!recorded.open(record)) {
        std::size_t telegram = 0, bytes = 0;
        while (auto entry = recorded.next()) {
            const auto* block = std::get_if<RecordedBlock>(&*entry);
            if (!block) continue;
            // The first block that holds bytes of a write times that write.
            if (bytes % 8 == 0 && telegram < writes.size()) {
                delays.push_back(static_cast<double>(block->stamp - writes[bytes / 8]) / 1e6);
                ++telegram;
            }
            bytes += block->bytes.size();
        }
    }
    ::unlink(record.c_str());
    if (delays.size() < 10) {
        PrintNotMeasured("trace-stamp", "the record holds too few telegrams");
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    PrintResult("trace-stamp", {{"median_ms", Fixed(delays[delays.size() / 2], 3)},
                                {"p99_ms", Fixed(delays[delays.size() * 99 / 100], 3)},
                                {"max_ms", Fixed(delays.back(), 3)},
                                {"telegrams", std::to_string(delays.size())}});
    return 0;
}

int TraceIdleFigure(const BenchOptions& options) {
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 60) * 1000));
    const std::string trace = options.text("trace", "build-release/trace/varelo-trace");
    std::array<PtyPair, 2> lines;
    for (PtyPair& line : lines) {
        if (!line.ok()) {
            PrintNotMeasured("trace-idle", "no pseudo-terminal");
            return 1;
        }
    }
    ChildProcess reader({"sh", "-c", Quoted(trace + " " + lines[0].slavePath() + " " + lines[1].slavePath())},
                        ChildProcess::Capture::None);
    std::this_thread::sleep_for(1000ms);  // past its start
    const double before = ProcessCpu(reader.pid());
    std::this_thread::sleep_for(duration);
    const double used = ProcessCpu(reader.pid()) - before;
    reader.end();
    PrintResult("trace-idle", {{"cpu_percent", Fixed(used / std::chrono::duration<double>(duration).count() * 100.0, 3)}});
    return 0;
}

}  // namespace varelo::bench
