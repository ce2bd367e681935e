#include "app/monitor/echo_removal.h"

namespace varelo {

void RemoveEcho(std::string& block, SharedState& shared) {
    if (!shared.EchoPending) return;
    const std::string& echo = shared.EchoTlg;
    if (echo.size() <= block.size() && block.compare(0, echo.size(), echo) == 0) {
        block.erase(0, echo.size());
    }
    shared.EchoPending = false;
    shared.EchoTlg.clear();
}

}  // namespace varelo
