#pragma once

#include <cstdint>
#include <map>
#include <utility>

namespace varelo {

// The stations a simulated bus serves.
struct StationRange {
    int first = 1;
    int last = 6;
    bool contains(int station) const { return station >= first && station <= last; }
};

// What the simulated slaves hold, per station. Until written, holding and input
// registers read as their own address and coils are on at odd addresses,
// discrete inputs at even ones, so a read shows a pattern that is easy to check;
// station 1's holding registers 0 to 127 hold the demonstration tag. Writes are
// kept for the whole run.
class SlaveMemory {
  public:
    bool coil(int station, int address) const;
    bool discreteInput(int station, int address) const;
    std::uint16_t holdingRegister(int station, int address) const;
    std::uint16_t inputRegister(int station, int address) const;

    void setCoil(int station, int address, bool on);
    void setHoldingRegister(int station, int address, std::uint16_t value);

  private:
    using Place = std::pair<int, int>;  // station, address
    std::map<Place, bool> coils_;
    std::map<Place, std::uint16_t> holdingRegisters_;
};

}  // namespace varelo
