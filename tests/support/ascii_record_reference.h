#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

#include "input/ascii_record.h"
#include "input/record_layouts.h"
#include "platform/number_text.h"

inline const RecordLayout& kestraneLayout() {
    return *record_layouts::presets().standard.layout;
}

inline AsciiReading readKestraneRecord(QByteArrayView record) {
    return readAsciiRecord(kestraneLayout(), record);
}

// The record reader as it was before it read the bytes in place: Latin-1 text split at TABs,
// each field read by the C locale. The fuzzer holds the fast reader to it, and the benchmark
// shows the two side by side. It shares no code with the fast reader, so that a slip in one
// shows as a difference.
inline AsciiReading readAsciiRecordThroughText(QByteArrayView record) {
    const QString text = QString::fromLatin1(record);
    const QList<QStringView> fields = QStringView(text).split(u'\t');
    const auto field = [&](qsizetype index) {
        return index < fields.size() ? number_text::parseInstrument(fields[index]) : std::nullopt;
    };
    AsciiReading reading;
    if (const std::optional<double> pressure = field(2)) {
        reading.pressure = *pressure / 10;
        if (const std::optional<double> conductivity = field(0)) {
            reading.conductivity = *conductivity / 10;
            reading.temperature = field(4);
        }
    }
    reading.complete = reading.temperature.has_value();
    return reading;
}
