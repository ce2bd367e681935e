#include "serial/win_comm_state.h"

namespace varelo {

DCB DcbForDeviceControl(const DeviceControl& dc, DCB current) {
    DCB dcb = current;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = dc.baudRate;
    dcb.fBinary = dc.binary ? TRUE : FALSE;
    dcb.fParity = dc.parityCheck ? TRUE : FALSE;
    dcb.fOutxCtsFlow = dc.outxCtsFlow ? TRUE : FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = dc.dtrControl == DtrControl::Enable ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = dc.outX ? TRUE : FALSE;
    dcb.fInX = dc.inX ? TRUE : FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    switch (dc.rtsControl) {
        case RtsControl::Disable:
            dcb.fRtsControl = RTS_CONTROL_DISABLE;
            break;
        case RtsControl::Enable:
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
            break;
        case RtsControl::Handshake:
            dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
            break;
    }
    dcb.fAbortOnError = FALSE;
    dcb.XonLim = dc.xonLim;
    dcb.XoffLim = dc.xoffLim;
    dcb.ByteSize = dc.byteSize;
    dcb.Parity = dc.parity;      // NOPARITY 0, ODDPARITY 1, EVENPARITY 2, MARKPARITY 3, SPACEPARITY 4
    dcb.StopBits = dc.stopBits;  // ONESTOPBIT 0, ONE5STOPBITS 1, TWOSTOPBITS 2
    dcb.XonChar = static_cast<char>(dc.xonChar);
    dcb.XoffChar = static_cast<char>(dc.xoffChar);
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    return dcb;
}

COMMTIMEOUTS ReadAsBytesArriveTimeouts(DWORD waitMs) {
    COMMTIMEOUTS t{};
    // Both at MAXDWORD with a constant below MAXDWORD: the documented "return with
    // what is there, or with the first byte to arrive" read.
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = waitMs;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = 0;
    return t;
}

}  // namespace varelo
