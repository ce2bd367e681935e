#include "serial/termios2_line.h"

#include <sys/ioctl.h>

namespace varelo {
namespace {

tcflag_t characterSizeFlag(std::uint8_t byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

tcflag_t parityFlags(std::uint8_t parity) {
    switch (parity) {
        case 1:
            return PARENB | PARODD;  // odd
        case 2:
            return PARENB;  // even
        case 3:
            return PARENB | CMSPAR | PARODD;  // mark: the parity bit always 1
        case 4:
            return PARENB | CMSPAR;  // space: the parity bit always 0
        default:
            return 0;
    }
}

}  // namespace

termios2 TermiosForDeviceControl(const DeviceControl& dc) {
    termios2 t{};
    // HUPCL drops DTR and RTS when the port closes, as they are held only while open.
    t.c_cflag = CLOCAL | CREAD | HUPCL | BOTHER | characterSizeFlag(dc.byteSize) | parityFlags(dc.parity);
    // A UART sends 1.5 stop bits for CSTOPB with 5 data bits, and 2 otherwise.
    if (dc.stopBits != 0) t.c_cflag |= CSTOPB;
    if (dc.outxCtsFlow) t.c_cflag |= CRTSCTS;
    if (dc.outX) t.c_iflag |= IXON;
    if (dc.inX) t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = dc.xonChar;
    t.c_cc[VSTOP] = dc.xoffChar;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    t.c_ispeed = dc.baudRate;
    t.c_ospeed = dc.baudRate;
    return t;
}

ModemLevels ModemLevelsForDeviceControl(const DeviceControl& dc) {
    // With the handshake the kernel drives RTS; it starts on, ready to receive.
    return {dc.dtrControl == DtrControl::Enable, dc.rtsControl != RtsControl::Disable};
}

bool SetTtyLine(int fd, const DeviceControl& dc) {
    if (dc.baudRate == 0) return false;
    // The ioctl, not tcsetattr: the C library's call refuses parity and 7 data
    // bits on a pseudo-terminal, and the line it leaves can make later opens fail.
    termios2 t = TermiosForDeviceControl(dc);
    if (ioctl(fd, TCSETS2, &t) != 0) return false;

    // A device without modem lines (a pseudo-terminal) refuses these; that is fine.
    const ModemLevels levels = ModemLevelsForDeviceControl(dc);
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    (void)ioctl(fd, levels.dtr ? TIOCMBIS : TIOCMBIC, &dtr);
    (void)ioctl(fd, levels.rts ? TIOCMBIS : TIOCMBIC, &rts);
    return true;
}

}  // namespace varelo
