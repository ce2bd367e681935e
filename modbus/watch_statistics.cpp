#include "modbus/watch_statistics.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "modbus/modbus_decode.h"

namespace varelo {
namespace {

// Bucket layout: values 0..255 one bucket each; above, 128 buckets for each
// power of two, i.e. the top 8 bits of the value.
constexpr int kExact = 256;
constexpr int kPerOctave = 128;

int bucketOf(std::uint64_t v) {
    if (v < kExact) return static_cast<int>(v);
    const int shift = std::bit_width(v) - 8;  // keeps the top 8 bits, 128..255
    return kExact + (shift - 1) * kPerOctave + static_cast<int>((v >> shift) - kPerOctave);
}

// The middle of a bucket's range.
std::int64_t valueOf(int bucket) {
    if (bucket < kExact) return bucket;
    const int shift = (bucket - kExact) / kPerOctave + 1;
    const std::int64_t top = (bucket - kExact) % kPerOctave + kPerOctave;
    return (top << shift) + ((std::int64_t{1} << shift) >> 1);
}

std::string milliseconds(std::int64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(us) / 1000.0);
    return text;
}

}  // namespace

void ResponseTimes::add(std::int64_t us) {
    us = std::max<std::int64_t>(us, 0);
    const int b = bucketOf(static_cast<std::uint64_t>(us));
    if (static_cast<std::size_t>(b) >= buckets_.size()) buckets_.resize(static_cast<std::size_t>(b) + 1);
    ++buckets_[static_cast<std::size_t>(b)];
    min_ = count_ == 0 ? us : std::min(min_, us);
    max_ = count_ == 0 ? us : std::max(max_, us);
    ++count_;
}

std::int64_t ResponseTimes::quantile(double fraction) const {
    if (count_ == 0) return 0;
    // The rank of the value wanted, 1-based, as the nearest-rank rule has it.
    auto rank = static_cast<std::int64_t>(fraction * static_cast<double>(count_) + 0.999999);
    rank = std::clamp<std::int64_t>(rank, 1, count_);
    if (rank == 1) return min_;
    if (rank == count_) return max_;
    std::int64_t seen = 0;
    for (std::size_t b = 0; b < buckets_.size(); ++b) {
        seen += buckets_[b];
        if (seen >= rank) return std::clamp(valueOf(static_cast<int>(b)), min_, max_);
    }
    return max_;
}

int StationStatistics::busiestFunction() const {
    int best = 0;
    std::int64_t most = 0;
    for (const auto& [function, n] : functions) {
        if (n > most) {
            best = function;
            most = n;
        }
    }
    return best;
}

StationStatistics& WatchStatistics::station(int station) {
    return stations_[station];
}

std::string WatchStatistics::text() const {
    std::string out = "MODBUS statistics: " + std::to_string(frames) + " frames, " + std::to_string(invalidFrames) +
                      " invalid, " + std::to_string(collisions) + " collisions, " + std::to_string(echoes) +
                      " echoes removed\n";
    if (stations_.empty()) return out + "  no station seen\n";
    char line[160];
    std::snprintf(line, sizeof line, "  %7s %9s %9s %9s %9s %9s  %s\n", "station", "requests", "answers", "time-outs",
                  "check-err", "orphans", "response ms min/median/p99/max");
    out += line;
    for (const auto& [id, s] : stations_) {
        std::string times = "-";
        if (s.responseTimes.count() > 0) {
            times = milliseconds(s.responseTimes.min()) + " / " + milliseconds(s.responseTimes.quantile(0.5)) + " / " +
                    milliseconds(s.responseTimes.quantile(0.99)) + " / " + milliseconds(s.responseTimes.max());
        }
        std::snprintf(line, sizeof line, "  %7d %9lld %9lld %9lld %9lld %9lld  %s\n", id,
                      static_cast<long long>(s.requests), static_cast<long long>(s.answers),
                      static_cast<long long>(s.timeouts), static_cast<long long>(s.checkErrors),
                      static_cast<long long>(s.orphans), times.c_str());
        out += line;
        if (const int f = s.busiestFunction()) {
            out += "          busiest: " + FunctionName(f) + " (" + std::to_string(f) + "), " +
                   std::to_string(s.functions.at(f)) + " requests\n";
        }
        for (const auto& [code, n] : s.exceptions) {
            std::snprintf(line, sizeof line, "          exception %02X %s: %lld\n", code, ExceptionName(code).c_str(),
                          static_cast<long long>(n));
            out += line;
        }
    }
    return out;
}

std::string WatchStatistics::json() const {
    auto n = [](std::int64_t v) { return std::to_string(v); };
    std::string out = "{\"frames\":" + n(frames) + ",\"invalid\":" + n(invalidFrames) + ",\"collisions\":" +
                      n(collisions) + ",\"echoes\":" + n(echoes) + ",\"stations\":{";
    bool firstStation = true;
    for (const auto& [id, s] : stations_) {
        if (!firstStation) out += ',';
        firstStation = false;
        out += "\"" + n(id) + "\":{\"requests\":" + n(s.requests) + ",\"answers\":" + n(s.answers) +
               ",\"timeouts\":" + n(s.timeouts) + ",\"check_errors\":" + n(s.checkErrors) +
               ",\"orphans\":" + n(s.orphans) + ",\"exceptions\":{";
        bool first = true;
        for (const auto& [code, count] : s.exceptions) {
            if (!first) out += ',';
            first = false;
            out += "\"" + n(code) + "\":" + n(count);
        }
        out += "},\"response_us\":";
        if (s.responseTimes.count() == 0) {
            out += "null";
        } else {
            out += "{\"min\":" + n(s.responseTimes.min()) + ",\"median\":" + n(s.responseTimes.quantile(0.5)) +
                   ",\"p99\":" + n(s.responseTimes.quantile(0.99)) + ",\"max\":" + n(s.responseTimes.max()) + "}";
        }
        const int busiest = s.busiestFunction();
        out += ",\"busiest_function\":";
        out += busiest ? "{\"function\":" + n(busiest) + ",\"name\":\"" + FunctionName(busiest) +
                             "\",\"requests\":" + n(s.functions.at(busiest)) + "}"
                       : "null";
        out += "}";
    }
    return out + "}}";
}

}  // namespace varelo
