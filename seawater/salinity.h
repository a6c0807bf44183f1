#pragma once

#include <optional>

namespace seawater {

// Practical salinity (PSS-78) from conductivity in S/m, temperature in degrees Celsius and
// pressure in bar. nullopt when the conductivity ratio at zero pressure is negative or the
// result would not be a finite number (for example at T = -46.73, where the temperature factor
// divides by zero).
std::optional<double> practicalSalinity(double conductivity, double temperature, double pressure);

}  // namespace seawater
