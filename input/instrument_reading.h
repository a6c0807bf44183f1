#pragma once

#include <QString>
#include <optional>

// What an instrument measures itself. A pressure it does not give is the one set for the probe's
// depth; salinity is computed from conductivity and temperature, and only without them is a
// sound velocity taken as measured.
struct Quantities {
    bool pressure = true;
    bool conductivity = true;
    bool temperature = true;
    bool soundVelocity = false;

    bool salinity() const { return conductivity && temperature; }
};

// One step of an instrument's reading, in the units of the measurement fields. A value the
// instrument did not give (a bad field, a refused word) is empty, and its field keeps what it
// holds.
struct InstrumentReading {
    std::optional<double> pressure;      // bar (decibars / 10)
    std::optional<double> conductivity;  // S/m (mS/cm / 10)
    std::optional<double> temperature;   // degrees Celsius
    // Salinity and sound velocity are to be computed again from the fields.
    bool complete = false;
    // The reading is over: the fields now hold a new reading of the sea.
    bool fresh = false;
    // New texts for the value labels; empty leaves a label as it is.
    QString pressureText;  // decibars
    QString conductivityText;
    QString temperatureText;
    std::optional<double> soundVelocity;  // m/s, as measured by the instrument
};
