#include "bench/whole_program/process_usage.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace varelo::bench {
namespace {

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// A "Name:   1234 kB" line of /proc/self/status.
double statusKb(const char* name) {
    std::FILE* file = std::fopen("/proc/self/status", "r");
    if (!file) return 0;
    char line[256];
    double kb = 0;
    const std::size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            std::sscanf(line + length + 1, "%lf", &kb);
            break;
        }
    }
    std::fclose(file);
    return kb;
}

}  // namespace

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ThreadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double ResidentMb() {
    return statusKb("VmRSS") * 1024 / 1e6;
}

double PeakResidentMb() {
    return statusKb("VmHWM") * 1024 / 1e6;
}

}  // namespace varelo::bench
