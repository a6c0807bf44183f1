#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include "input/ascii_record.h"
#include "platform/number_text.h"

// The record reader as it was before it read the bytes in place: Latin-1 text split at TABs,
// each field read by the C locale. The fuzzer and the test hold the fast reader to it, and the
// benchmark shows the two side by side.
inline AsciiReading readAsciiRecordThroughText(QByteArrayView record) {
    const QString text = QString::fromLatin1(record);
    const QList<QStringView> fields = QStringView(text).split(u'\t');
    const auto field = [&](qsizetype index) -> std::optional<double> {
        if (index >= fields.size()) {
            return std::nullopt;
        }
        return number_text::parseInstrument(fields[index]);
    };
    AsciiReading reading;
    const auto pressure = field(2);
    if (!pressure) {
        return reading;
    }
    reading.pressure = *pressure / 10;
    const auto conductivity = field(0);
    if (!conductivity) {
        return reading;
    }
    reading.conductivity = *conductivity / 10;
    reading.temperature = field(4);
    return reading;
}
