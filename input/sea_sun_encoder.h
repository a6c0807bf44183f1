#pragma once

#include <QByteArray>

#include "input/sea_sun_decoder.h"

// The instrument's side of the data words, for the simulator and the tests: physical values
// back to raw counts and counts to the three bytes that the decoder takes apart.
namespace sea_sun {

inline constexpr int kMaxRawCount = 65535;

// The raw count whose conversion lies nearest to the value (ties to the lower count); values
// beyond the ends of the calibration give 0 or kMaxRawCount.
int rawCountFor(Channel channel, double value);

// The data word carrying the raw count (0..kMaxRawCount) on the channel; bit 0 of every byte
// is left clear.
QByteArray encodeWord(Channel channel, int rawCount);

}  // namespace sea_sun
