#include "serial/device_control.h"

namespace varelo {

DeviceControl BuildDeviceControl(const LineSettings& s) {
    DeviceControl dc;
    dc.baudRate = s.baudRateValue;
    dc.binary = true;
    dc.parityCheck = false;
    dc.outxCtsFlow = s.hwFlow == hfRTSCTS;
    dc.dtrControl = s.enableDtrOnOpen ? DtrControl::Enable : DtrControl::Disable;
    switch (s.hwFlow) {
        case hfNONE:
            dc.rtsControl = RtsControl::Disable;
            break;
        case hfNONERTSON:
            dc.rtsControl = RtsControl::Enable;
            break;
        case hfRTSCTS:
            dc.rtsControl = RtsControl::Handshake;
            break;
    }
    dc.outX = dc.inX = s.swFlow == sfXONXOFF;
    dc.xonLim = dc.xoffLim = static_cast<std::uint16_t>(s.inBufSize / 4);
    dc.byteSize = static_cast<std::uint8_t>(s.dataBits + 5);
    dc.parity = s.parity;
    dc.stopBits = s.stopBits;
    dc.xonChar = 0x11;
    dc.xoffChar = 0x13;
    return dc;
}

}  // namespace varelo
