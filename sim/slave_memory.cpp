#include "sim/slave_memory.h"

#include "sim/demo_tag.h"

namespace varelo {

namespace {

constexpr int kTagStation = 1;
constexpr int kTagRegisters = 128;

}  // namespace

bool SlaveMemory::coil(int station, int address) const {
    const auto written = coils_.find({station, address});
    return written != coils_.end() ? written->second : address % 2 == 1;
}

bool SlaveMemory::discreteInput(int /*station*/, int address) const {
    return address % 2 == 0;
}

std::uint16_t SlaveMemory::holdingRegister(int station, int address) const {
    const auto written = holdingRegisters_.find({station, address});
    if (written != holdingRegisters_.end()) return written->second;
    if (station == kTagStation && address < kTagRegisters) return DemoTagRegister(address);
    return static_cast<std::uint16_t>(address);
}

std::uint16_t SlaveMemory::inputRegister(int /*station*/, int address) const {
    return static_cast<std::uint16_t>(address);
}

void SlaveMemory::setCoil(int station, int address, bool on) {
    coils_[{station, address}] = on;
}

void SlaveMemory::setHoldingRegister(int station, int address, std::uint16_t value) {
    holdingRegisters_[{station, address}] = value;
}

}  // namespace varelo
