#pragma once

#include <QByteArrayView>
#include <optional>

// The values of one ASCII record, in the order the window stores them: pressure (field 2,
// decibars / 10), conductivity (field 0, mS/cm / 10), temperature (field 4). Fields are
// separated by TABs; fields 1 and 3 and any after 4 are not read. A field that is missing or
// holds no number ends the reading there: the values before it are kept, those after it stay
// empty, as the window stores them one by one.
struct AsciiReading {
    std::optional<double> pressure;      // bar
    std::optional<double> conductivity;  // S/m
    std::optional<double> temperature;   // degrees Celsius

    bool complete() const { return temperature.has_value(); }
};

// Numbers are read with "." as the decimal point whatever the user's locale: the instrument's
// format does not change with the PC's settings.
AsciiReading readAsciiRecord(QByteArrayView record);
