#pragma once

#include <cmath>
#include <numbers>

#include "option_values.h"

// Simulated values that move, so that a display visibly changes.
namespace drift {

// A slow swing of the given amplitude that starts at zero; one full swing every `period` steps.
inline double swing(double step, double amplitude, double period) {
    return amplitude * std::sin(2 * std::numbers::pi * step / period);
}

// What an instrument that sends one line per measurement reads at line n (from 0): each value
// swings at its own pace, so that the three never move in step.
inline option_values::Reading lineAt(const option_values::Reading& values, double n) {
    const auto moved = [&](double amplitude, double period) {
        return values.drift ? swing(n, amplitude, period) : 0;
    };
    option_values::Reading reading = values;
    reading.conductivity = values.conductivity + moved(2, 120);
    reading.pressure = values.pressure + moved(5, 90);
    reading.temperature = values.temperature + moved(1, 180);
    return reading;
}

}  // namespace drift
