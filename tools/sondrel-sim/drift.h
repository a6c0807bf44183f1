#pragma once

#include <cmath>
#include <numbers>

// Simulated values that move, so that a display visibly changes.
namespace drift {

// A slow swing of the given amplitude that starts at zero; one full swing every `period` steps.
inline double swing(double step, double amplitude, double period) {
    return amplitude * std::sin(2 * std::numbers::pi * step / period);
}

}  // namespace drift
