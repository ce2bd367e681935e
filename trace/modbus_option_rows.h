#pragma once

#include "trace/trace_options.h"

namespace varelo {

// The rows of --modbus, --timeout, --regs, --type, --order, --send, --every and --append.
TraceOptionGroup ModbusOptionGroup();

}  // namespace varelo
