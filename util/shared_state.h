#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The state that the main window, the transmission scheduler, the receive
// handlers and the tag reader hand to one another. The application makes one for
// the whole run and gives it to every window that needs it; each test makes its own.
struct SharedState {
    // The telegram that the scheduler sends at its next tick.
    std::string TlgToSend;
    // "1" or "2": the port of the latest receipt.
    std::string RxPort;
    // The last telegram sent with "Return 485" checked, looked for in the next
    // block on port 1, and whether that block is still to come.
    std::string EchoTlg;
    bool EchoPending = false;

    // The tag reading session: whether it runs, the reader's station, the block
    // asked for next (register 0, 32, 64 or 96) and its size in registers, the
    // memory collected in this pass, the response received so far, and the count
    // of consecutive responses with a bad CRC.
    bool TagSession = false;
    std::int32_t TagStation = 0;
    std::int32_t TagAddress = 0;
    std::int32_t TagQuantity = 0;
    std::string TagMap;
    std::string TagRxBuffer;
    std::int32_t TagCrcErrors = 0;
};

}  // namespace varelo
