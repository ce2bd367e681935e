// varelo-trace reading a recorded MODBUS RTU bus: a record of a million
// transactions (ten stations; reads of ten registers; one answer in a hundred an
// exception, one in a thousand with a wrong CRC, one in a thousand missing)
// replayed with --modbus rtu --json to /dev/null. Reports transactions per
// second of the whole run and per CPU second, and the run's peak memory.
#include "bench/trace_program/trace_figures.h"
#include "modbus/modbus_frame.h"
#include "trace/record_file.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

extern char** environ;

namespace varelo::bench {
namespace {

constexpr long kTransactions = 1'000'000;

std::span<const std::uint8_t> Span(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::optional<std::string> WriteRecord(const std::string& path) {
    RecordHeader header;
    LineFormat format;
    format.baud = 115200;
    header.lines.push_back({"BUS", format});
    RecordWriter record;
    if (auto error = record.open(path, header)) return error;
    KernelStamp t = 1'000'000'000;
    for (long i = 0; i < kTransactions; ++i) {
        const char station = static_cast<char>(1 + i % 10);
        const std::string request = BuildModbusFrame(station, 3, static_cast<std::int32_t>(i % 100), 10, "RTU");
        std::string answer{station, 3, 20};
        for (int r = 0; r < 20; ++r) answer += static_cast<char>((i + r) & 0xFF);
        if (i % 100 == 50) answer = {station, static_cast<char>(0x83), 2};
        answer += ModbusCrc16(answer);
        if (i % 1000 == 500) answer.back() = static_cast<char>(answer.back() ^ 0x55);
        record.block(0, t, Span(request));
        if (i % 1000 != 999) record.block(0, t + 3'000'000, Span(answer));
        t += 6'000'000;
    }
    return record.close() ? std::nullopt : std::optional<std::string>(record.failure());
}

}  // namespace

int TraceModbusReplayFigure(const BenchOptions& options) {
    const std::string trace = options.text("trace", "build-release/trace/varelo-trace");
    const std::string dir = options.text("dir", "/tmp");
    const std::string record = dir + "/modbus-bus.vtr";
    if (auto error = WriteRecord(record)) {
        PrintNotMeasured("trace-modbus-replay", "cannot write the record: " + *error);
        return 1;
    }
    const std::string command = "'" + trace + "' --replay '" + record + "' --modbus rtu --json >/dev/null 2>&1";
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        PrintNotMeasured("trace-modbus-replay", "cannot start varelo-trace");
        return 1;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove(record);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        PrintNotMeasured("trace-modbus-replay", "varelo-trace failed");
        return 1;
    }
    // The shell's own usage is in it too, and is small beside the trace's.
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const double cpu = static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
                       static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec) / 1e6;
    PrintResult("trace-modbus-replay",
                {{"transactions_per_s", Fixed(kTransactions / seconds, 0)},
                 {"transactions_per_cpu_s", Fixed(kTransactions / cpu, 0)},
                 {"peak_rss_mb", Fixed(static_cast<double>(children.ru_maxrss) / 1024.0, 1)}});
    return 0;
}

}  // namespace varelo::bench
