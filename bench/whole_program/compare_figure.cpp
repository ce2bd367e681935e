// The same load as the one-port throughput, read by picocom instead: picocom
// shows every byte in hexadecimal on a pseudo-terminal (script(1) holds its
// master end and throws the output away) and logs what it reads to a file.
// Nothing draws glyphs here, so this is a floor for a terminal program's cost.
#include "bench/whole_program/child_process.h"
#include "bench/whole_program/figures.h"
#include "bench/whole_program/line_feeder.h"
#include "bench/whole_program/pty_pair.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

namespace varelo::bench {
namespace {

long long fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

bool logMatchesPattern(const std::string& path, std::uint64_t count) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::uint64_t at = 0;
    bool same = true;
    for (int c; same && (c = std::fgetc(file)) != EOF; ++at)
        same = static_cast<std::uint8_t>(c) == PatternByte(at);
    std::fclose(file);
    return same && at == count;
}

}  // namespace

int CompareFigure(const BenchOptions& options) {
    using Clock = std::chrono::steady_clock;
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 10) * 1000));
    const std::string log = "/tmp/varelo-bench-picocom-" + std::to_string(::getpid()) + ".log";
    PtyPair line;
    if (!line.ok()) {
        PrintNotMeasured("picocom", "no pseudo-terminal");
        return 1;
    }
    // It leaves one second after the line goes quiet.
    const std::string command =
        "picocom -q --exit-after 1000 --imap spchex,tabhex,crhex,lfhex,8bithex,nrmhex "
        "--logfile " +
        log + " " + line.slavePath() + " >/dev/null";
    ChildProcess picocom({"script", "-qfc", command, "/dev/null"}, ChildProcess::Capture::Stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // until it holds the line

    const Clock::time_point start = Clock::now();
    std::uint64_t written = 0;
    {
        LineFeeder feeder(line.master());
        std::this_thread::sleep_for(duration);
        feeder.stop();
        written = feeder.written();
    }
    // Done once its log holds everything or stops growing.
    Clock::time_point end = Clock::now();
    for (long long last = -1, now; (now = fileSize(log)) != static_cast<long long>(written);) {
        if (now == last && Clock::now() - end > std::chrono::milliseconds(500)) break;
        if (now != last) end = Clock::now();
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (fileSize(log) == static_cast<long long>(written)) end = Clock::now();
    picocom.waitForExit(std::chrono::seconds(3));
    picocom.end();
    const bool lossless = logMatchesPattern(log, written);
    ::unlink(log.c_str());
    const double seconds = std::chrono::duration<double>(end - start).count();
    PrintResult("picocom", {{"mbps", Fixed(static_cast<double>(written) / seconds / 1e6, 2)},
                            {"lossless", lossless ? "yes" : "no"},
                            {"seconds", Fixed(seconds, 2)},
                            {"written", std::to_string(written)}});
    return 0;
}

}  // namespace varelo::bench
