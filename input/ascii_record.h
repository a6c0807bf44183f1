#pragma once

#include <QByteArrayView>
#include <optional>

#include "input/record_layout.h"

// The values of one ASCII record, in the measurement fields' units. A field that is missing or
// holds no number ends the reading there, in the layout's order (pressure, conductivity,
// temperature, sound velocity): the values before it are kept, those after it stay empty, as the
// window stores them one by one.
struct AsciiReading {
    std::optional<double> pressure;       // bar
    std::optional<double> conductivity;   // S/m
    std::optional<double> temperature;    // degrees Celsius
    std::optional<double> soundVelocity;  // m/s
    // Every field the layout maps holds a number.
    bool complete = false;
};

// Whether a line is one of the layout's records at all; a line that is not is passed over.
bool isRecordLine(const RecordLayout& layout, QByteArrayView line);

// Numbers are read with "." as the decimal point whatever the user's locale: the instrument's
// format does not change with the PC's settings.
AsciiReading readAsciiRecord(const RecordLayout& layout, QByteArrayView record);
