#include "serial/port_path.h"

namespace varelo {

std::string SystemComPath(const std::string&, unsigned n) {
    return "/dev/ttyS" + std::to_string(n - 1);
}

}  // namespace varelo
