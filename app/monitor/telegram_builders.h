#pragma once

#include "util/gauss_random.h"

namespace varelo {

class RegionalSettings;
struct MonitorState;
struct SharedState;

// The telegrams the scheduler rebuilds before each send. Each builder replaces
// TlgToSend. Builders that end in the line end append CR LF only while one
// telegram per line is on.
class TelegramBuilders {
  public:
    TelegramBuilders(MonitorState& state, SharedState& shared, const RegionalSettings& regional);

    // Date, a blank, time.
    void BuildDateHour();
    // A two-letter prefix (cycling through six) and a counter counting down
    // from 123456789; never a line end. Both keep their place across Stop.
    void BuildCode11();
    // Date, a blank, hours and minutes, a blank, a random weight around 23 kg, " Kg".
    void BuildWeight();
    // The byte values 0x00 to 0xFE in ascending order.
    void BuildAsciiChars();
    // DLE ENQ and the next station of 1 to StationCount, as its low 8 bits.
    void BuildRQZPoll();
    // MODBUS function 17 (slave identification) to the next station of 1 to StationCount.
    void PollNextStationAscii();
    void PollNextStationRtu();

  private:
    void nextStation();
    void appendLineEnd();

    MonitorState& state_;
    SharedState& shared_;
    const RegionalSettings& regional_;
    // Never seeded: every run draws the same weights.
    RandomSource random_;
};

}  // namespace varelo
