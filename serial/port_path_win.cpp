#include "serial/port_path.h"

namespace varelo {

std::string SystemComPath(const std::string& portName, unsigned) {
    return portName;
}

}  // namespace varelo
