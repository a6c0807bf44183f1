#pragma once

#include <QString>
#include <optional>

namespace seawater {

// One reading as the measurement fields hold it: conductivity in S/m, temperature in degrees
// Celsius, pressure in bar, practical salinity, sound velocity in m/s. A value the instrument
// does not give is empty and not judged.
struct Reading {
    std::optional<double> conductivity;
    std::optional<double> temperature;
    std::optional<double> pressure;
    std::optional<double> salinity;
    std::optional<double> soundvelocity;
};

// Empty when the sea can give this reading. Otherwise the first value that it cannot, with the
// bounds in the units the window shows ("temperature outside -5 to 45 °C"); a negative salinity,
// from which no sound velocity can be computed, is named as such. A value that is not a number
// lies outside every bound.
QString implausibleValue(const Reading& reading);

}  // namespace seawater
