#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "input/bit_table.h"

// The Sea & Sun CTD sends 3-byte data words: the last byte names the channel in bits 7..3 and
// carries the two top bits of a 16-bit raw count in bits 2..1; the two bytes before it carry the
// lower 14 bits, seven in bits 7..1 of each. Bit 0 of every byte is not part of the data.
namespace sea_sun {

// The channels that are read; every other channel number (0, 1, 5..31) is passed over.
enum class Channel { Pressure = 2, Temperature = 3, Conductivity = 4 };

// The channel's calibration polynomial at a raw count 0..65535.
double convert(Channel channel, int rawCount);

// Whether a converted value lies strictly inside its channel's acceptance window; values on or
// beyond a bound are instrument noise and are dropped.
bool accepted(Channel channel, double value);

// The three working values of a tick, in the units the window's fields hold.
struct Values {
    double pressure = 0;
    double temperature = 0;
    double conductivity = 0;
};

// The field that a channel's words set.
double& valueOf(Values& values, Channel channel);

// A label that gets a new text.
struct LabelUpdate {
    Channel channel;
    QString text;
};

// One or more consecutive byte positions of a block. At the first of them a word may have been
// accepted, whose label gets its new text; then the values are stored in the fields and salinity
// and sound velocity recomputed. The positions after it that accept nothing would repeat exactly
// the same computation on the same values, so they are folded into the step.
struct Step {
    int positions = 0;
    std::optional<LabelUpdate> label;
    Values values;
};

// The steps cover every byte position from index 2 on, each once: the tick runs salinity and
// sound velocity once per position.
struct Decoding {
    std::vector<Step> steps;
};

// What one tick does with one block, starting from the fields' current values. Every bit is
// read through the bit table.
Decoding decode(const QByteArray& block, const BitTable& bitTable, const Values& start);

}  // namespace sea_sun
