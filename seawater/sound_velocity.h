#pragma once

#include <optional>

namespace seawater {

// Speed of sound in m/s (UNESCO 1983, Chen and Millero) from practical salinity, temperature
// in degrees Celsius and pressure in bar, unrounded. nullopt for a negative salinity or a
// result that is not a finite number.
std::optional<double> soundVelocity(double salinity, double temperature, double pressure);

}  // namespace seawater
