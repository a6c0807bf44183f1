#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The three sound-velocity telegrams an echosounder can take, built whole from the measurement
// fields as exact bytes (8-bit text ending in CR LF). They are read by machines, none of which
// takes a decimal comma, so the decimal point is always "." whatever the user's number settings.
//
// Numbers that a field cannot hold: a five-digit field carries at most 99999 in magnitude, and
// the integer part of the App. Microsystems figure at most five digits. A value beyond that, or
// one that is not a number at all, is sent as all nines ("99999", "-99999" below the range,
// " 99999.99 "). Nothing in the sea comes near these figures (9999.9 m/s, 99999 bar,
// 9999.9 degrees), so a receiver or an operator cannot take them for a reading, and the
// fixed-width telegrams keep their length, so the receiver's framing is not thrown off.
namespace telegrams {

// " 1500.12 " CR LF: two decimals.
QByteArray appMicrosystems(double soundvelocity);

// Sound velocity in tenths of m/s, |pressure| in whole bar, temperature in tenths of a degree
// (a "-" before a negative one), "990000", CR LF: 23 bytes, 24 with a negative temperature.
// The tenths are whole-number conversions (ties to even), the bar are rounded halves away from
// zero.
QByteArray svp20(double soundvelocity, double pressure, double temperature);

// "S", sound velocity in tenths of m/s with halves rounded away from zero, CR LF.
QByteArray generic(double soundvelocity);

}  // namespace telegrams

// What a telegram carries, from the measurement fields; no temperature when the instrument
// gives none.
struct Sounding {
    double soundvelocity = 0;               // m/s
    double pressure = 0;                    // bar
    std::optional<double> temperature = 0;  // degrees Celsius
};
