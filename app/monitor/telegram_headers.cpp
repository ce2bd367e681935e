#include "app/monitor/telegram_headers.h"

namespace varelo {
namespace {

std::string arrowFor(Direction direction) {
    return direction == Direction::Received ? "->" : "<-";
}

}  // namespace

std::string ViewHeader(char port, Direction direction) {
    return std::string("\rP") + port + arrowFor(direction);
}

std::string CaptureHeader(char port, Direction direction) {
    return std::string("\r\nP") + port + arrowFor(direction);
}

}  // namespace varelo
