#include "bench/whole_program/bench_options.h"

#include <cstdio>
#include <cstdlib>

namespace varelo::bench {

std::optional<BenchOptions> BenchOptions::parse(const std::vector<std::string>& args) {
    BenchOptions options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (args[i].rfind("--", 0) != 0 || i + 1 >= args.size()) {
            std::fprintf(stderr, "bench_whole_program: option %s needs a value\n", args[i].c_str());
            return std::nullopt;
        }
        options.values_[args[i].substr(2)] = args[i + 1];
    }
    return options;
}

std::string BenchOptions::text(const std::string& name, const std::string& fallback) const {
    const auto found = values_.find(name);
    return found == values_.end() ? fallback : found->second;
}

double BenchOptions::number(const std::string& name, double fallback) const {
    const auto found = values_.find(name);
    return found == values_.end() ? fallback : std::strtod(found->second.c_str(), nullptr);
}

void PrintResult(const std::string& figure, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string line = "RESULT " + figure;
    for (const auto& [key, value] : values) line += " " + key + "=" + value;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void PrintNotMeasured(const std::string& figure, const std::string& reason) {
    std::printf("NOT_MEASURED %s %s\n", figure.c_str(), reason.c_str());
    std::fflush(stdout);
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace varelo::bench
