#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varelo {

// Response times, kept as a histogram so that a run of any length takes the
// same memory: times under 256 us exactly, longer ones to within 0.4 %.
class ResponseTimes {
  public:
    void add(std::int64_t us);
    std::int64_t count() const { return count_; }
    std::int64_t min() const { return min_; }
    std::int64_t max() const { return max_; }
    // The smallest time that `fraction` of all times do not exceed (the
    // median at 0.5), held within the true minimum and maximum.
    std::int64_t quantile(double fraction) const;

  private:
    std::vector<std::uint32_t> buckets_;
    std::int64_t count_ = 0;
    std::int64_t min_ = 0;
    std::int64_t max_ = 0;
};

struct StationStatistics {
    std::int64_t requests = 0;
    std::int64_t answers = 0;      // paired answers, exceptions included
    std::int64_t timeouts = 0;
    std::int64_t checkErrors = 0;  // frames with a wrong CRC or LRC naming this station
    std::int64_t orphans = 0;      // answers to no request
    std::map<int, std::int64_t> exceptions;  // by code
    std::map<int, std::int64_t> functions;   // requests by function
    ResponseTimes responseTimes;

    // The function asked most often (the lowest code of a tie); 0 for none.
    int busiestFunction() const;
};

// The statistics of a run: per station, and for the line as a whole what
// belongs to no station.
class WatchStatistics {
  public:
    StationStatistics& station(int station);
    const std::map<int, StationStatistics>& stations() const { return stations_; }

    std::int64_t frames = 0;
    std::int64_t invalidFrames = 0;  // of any kind, bad checks included
    std::int64_t collisions = 0;
    std::int64_t echoes = 0;  // requests seen twice, the copy removed

    std::string text() const;
    std::string json() const;

  private:
    std::map<int, StationStatistics> stations_;
};

}  // namespace varelo
