#include "serial/port_path.h"

#include <cstdlib>
#include <string_view>

namespace varelo {
namespace {

constexpr std::string_view kComPrefix = "\\\\.\\COM";

// n of "\\.\COMn", or 0 when the name is not of that form.
unsigned comNumber(std::string_view name) {
    if (!name.starts_with(kComPrefix)) return 0;
    const std::string_view digits = name.substr(kComPrefix.size());
    if (digits.empty() || digits.size() > 3 || digits.front() == '0') return 0;
    unsigned n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n;
}

}  // namespace

std::string ResolvePortPath(const std::string& portName) {
    const unsigned n = comNumber(portName);
    if (n == 0) return portName;
    if (const char* configured = std::getenv(("VARELO_COM" + std::to_string(n)).c_str())) return configured;
    return SystemComPath(portName, n);
}

}  // namespace varelo
