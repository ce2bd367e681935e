#pragma once

#include "modbus/modbus_decode.h"
#include "modbus/telegram_check.h"
#include "modbus/watch_render.h"

#include <cstdint>
#include <optional>
#include <string>

namespace varelo {

// --modbus and the options that go with it.
struct ModbusTraceOptions {
    bool on = false;
    TelegramFraming framing = TelegramFraming::Rtu;
    std::int64_t timeoutMs = 1000;
    ValueOptions values;
};

// --send, --every and --append: a telegram this program writes on the first line.
struct SendOptions {
    std::string bytes;  // as typed, without the check
    std::optional<std::int64_t> everyMs;
    AppendedCheck check = AppendedCheck::None;
};

}  // namespace varelo
