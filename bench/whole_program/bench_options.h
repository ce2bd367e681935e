#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varelo::bench {

// "--name value" pairs after the figure's name.
class BenchOptions {
  public:
    // Nullopt and a message on stderr when an option has no value.
    static std::optional<BenchOptions> parse(const std::vector<std::string>& args);

    std::string text(const std::string& name, const std::string& fallback) const;
    double number(const std::string& name, double fallback) const;

  private:
    std::map<std::string, std::string> values_;
};

// The lines a figure prints: "RESULT <figure> key=value ..." for a run that was
// measured, "NOT_MEASURED <figure> <reason>" for one that could not be.
void PrintResult(const std::string& figure, const std::vector<std::pair<std::string, std::string>>& values);
void PrintNotMeasured(const std::string& figure, const std::string& reason);
std::string Fixed(double value, int decimals);

}  // namespace varelo::bench
