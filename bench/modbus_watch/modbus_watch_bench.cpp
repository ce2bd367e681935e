// A recorded MODBUS RTU bus replayed through the watch: every telegram decoded,
// paired and rendered as JSON, as `varelo-trace --modbus rtu --json` does with
// a record. Reports transactions per second and the process's peak memory.
//
// The record: 1,000,000 transactions of ten stations on one line, as a busy
// bus carries them: reads of holding and input registers and coils, single
// and multiple writes, one answer in a hundred an exception, one in a thousand
// with a wrong CRC and one in a thousand never answered. A pool of a thousand
// such transactions is built once and replayed with advancing stamps.

#include "modbus/modbus_frame.h"
#include "modbus/modbus_watch.h"
#include "modbus/watch_render.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <random>

namespace varelo {
namespace {

constexpr int kTransactions = 1'000'000;
constexpr int kPool = 1000;

std::string rtu(std::string message) {
    return message + ModbusCrc16(message);
}

std::string registers(int count, std::mt19937& random) {
    std::string data;
    for (int i = 0; i < 2 * count; ++i) data += static_cast<char>(random() & 0xFF);
    return data;
}

struct Transaction {
    TimedTelegram request;
    std::optional<TimedTelegram> answer;
};

std::vector<Transaction> pool() {
    std::mt19937 random(16);
    std::vector<Transaction> out;
    for (int i = 0; i < kPool; ++i) {
        const char station = static_cast<char>(1 + i % 10);
        const int kind = static_cast<int>(random() % 100);
        std::string request, answer;
        if (kind < 60) {  // read 10 holding registers
            request = {station, 3, 0, 100, 0, 10};
            answer = std::string{station, 3, 20} + registers(10, random);
        } else if (kind < 75) {  // read 4 input registers
            request = {station, 4, 0, 8, 0, 4};
            answer = std::string{station, 4, 8} + registers(4, random);
        } else if (kind < 85) {  // read 16 coils
            request = {station, 1, 0, 19, 0, 16};
            answer = std::string{station, 1, 2} + registers(1, random);
        } else if (kind < 93) {  // write one register
            request = {station, 6, 0, 1, 0, static_cast<char>(random() & 0xFF)};
            answer = request;
        } else {  // write 4 registers
            request = std::string{station, 16, 0, 1, 0, 4, 8} + registers(4, random);
            answer = {station, 16, 0, 1, 0, 4};
        }
        if (i % 100 == 50) answer = {station, static_cast<char>(request[1] | 0x80), 2};
        Transaction t;
        t.request.bytes = rtu(request);
        if (i % 1000 != 999) {
            t.answer = TimedTelegram{rtu(answer), 0, 0};
            if (i % 1000 == 500) t.answer->bytes.back() = static_cast<char>(t.answer->bytes.back() ^ 0x55);
        }
        out.push_back(std::move(t));
    }
    return out;
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ReplayRecordedBus(benchmark::State& state) {
    std::vector<Transaction> transactions = pool();
    std::vector<WatchEntry> entries;
    std::string json;
    std::size_t written = 0;
    const long rssBefore = peakRssKb();
    for (auto _ : state) {
        ModbusWatch watch;
        std::int64_t t = 0;
        // 115200 baud: about 87 us a byte; answers 2 ms after their request,
        // the next request 1 ms after the answer.
        for (int i = 0; i < kTransactions; ++i) {
            Transaction& x = transactions[static_cast<std::size_t>(i % kPool)];
            x.request.startUs = t;
            x.request.endUs = t += 87 * static_cast<std::int64_t>(x.request.bytes.size());
            watch.receive(0, x.request);
            t += 2000;
            if (x.answer) {
                x.answer->startUs = t;
                x.answer->endUs = t += 87 * static_cast<std::int64_t>(x.answer->bytes.size());
                watch.receive(0, *x.answer);
            }
            t += 1000;
            watch.take(entries);
            for (const WatchEntry& e : entries) {
                json.clear();
                AppendEntryJson(json, e, {});
                json += '\n';
                written += json.size();
            }
        }
        watch.finish();
        watch.take(entries);
        const std::string statistics = watch.statistics().json();
        written += statistics.size();
        benchmark::DoNotOptimize(written);
        if (watch.statistics().stations().at(1).requests != kTransactions / 10) state.SkipWithError("lost requests");
    }
    state.SetItemsProcessed(state.iterations() * kTransactions);
    state.counters["peak_rss_mb"] = static_cast<double>(peakRssKb()) / 1024.0;
    state.counters["rss_growth_mb"] = static_cast<double>(peakRssKb() - rssBefore) / 1024.0;
    state.counters["json_mb"] = static_cast<double>(written) / state.iterations() / 1e6;
}
BENCHMARK(BM_ReplayRecordedBus)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varelo
