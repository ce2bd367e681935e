#pragma once

#include <bitset>
#include <cstdint>

namespace varelo {

// Line settings of a serial port. Ordinals count from 0 in the order given; the
// device control values are computed from them, so the order matters.

enum TPortNumber : std::uint8_t {
    pnCustom,  // the device is named by its port name alone
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};

enum TBaudRate : std::uint8_t {
    brCustom,  // the rate is the baud rate value alone
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum TDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };

enum TStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };

enum TParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };

enum THwFlowControl : std::uint8_t {
    hfNONE,       // no handshake, RTS off
    hfNONERTSON,  // no handshake, RTS on
    hfRTSCTS      // RTS/CTS handshake
};

enum TSwFlowControl : std::uint8_t { sfNONE, sfXONXOFF };

// What becomes of a partial packet whose time-out expired.
enum TPacketMode : std::uint8_t { pmDiscard, pmPass };

// Modem status lines; TModemLines holds the ones that are on, bit n for member n.
enum TModemLine : std::uint8_t { mlCTS, mlDSR, mlRING, mlRLSD };
using TModemLines = std::bitset<4>;

// Bits per second of a rate; brCustom (and anything out of range) has none and gives 0.
constexpr std::uint32_t BaudRateTableValue(TBaudRate rate) {
    constexpr std::uint32_t table[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                       14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rate < sizeof(table) / sizeof(table[0]) ? table[rate] : 0;
}

}  // namespace varelo
