#pragma once

#include <QByteArray>

#include "input/instrument_reading.h"

// Where one quantity stands in a record, and what its number is divided by to give the
// measurement field's unit (a division, as the Kestrane's values have always been read, so that
// they keep their last bit).
struct RecordField {
    int number = 0;  // counted from 1 at the start of the line; 0: the record does not carry it
    double divisor = 1;

    bool given() const { return number > 0; }
};

// How an ASCII instrument's records are cut and read: data, so that a probe is a row of a table
// or a section of the settings file, never code of its own.
struct RecordLayout {
    // The Kestrane's records lie between two CR LF pairs; every other instrument's end at CR, LF
    // or CR LF.
    enum class Framing { BetweenCrLfPairs, Lines };
    // Blanks: any run of spaces and TABs, those before the first field included.
    enum class Separator { Tab, Comma, Semicolon, Blanks };

    // Field divisors to the measurement fields' units: S/m and bar.
    static constexpr double kMilliSiemensPerCm = 10;
    static constexpr double kSiemensPerMetre = 1;
    static constexpr double kDecibar = 10;
    static constexpr double kBar = 1;
    // Field numbers beyond this are refused: no instrument's line holds that many.
    static constexpr int kLastField = 99;

    Framing framing = Framing::Lines;
    Separator separator = Separator::Tab;
    // Only lines that begin with it are records; the others are passed over, not rejected.
    QByteArray prefix;
    // Read in this order: a field that holds no number ends the reading there.
    RecordField pressure;
    RecordField conductivity;
    RecordField temperature;
    // Read only when salinity cannot be computed: an instrument's own sound velocity never
    // stands in for the one computed from its conductivity.
    RecordField soundVelocity;

    // A layout of lines ended by CR, LF or CR LF.
    static RecordLayout lines(Separator separator, RecordField pressure, RecordField conductivity,
                              RecordField temperature, RecordField soundVelocity,
                              QByteArray prefix = {}) {
        RecordLayout layout;
        layout.separator = separator;
        layout.prefix = std::move(prefix);
        layout.pressure = pressure;
        layout.conductivity = conductivity;
        layout.temperature = temperature;
        layout.soundVelocity = soundVelocity;
        return layout;
    }

    Quantities gives() const {
        const bool computed = conductivity.given() && temperature.given();
        return {pressure.given(), conductivity.given(), temperature.given(),
                !computed && soundVelocity.given()};
    }
};
