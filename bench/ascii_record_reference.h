#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include "input/ascii_record.h"
#include "platform/number_text.h"

// The record reader as it was before it read the bytes in place: Latin-1 text split at TABs,
// each field read by the C locale. The fuzzer holds the fast reader to it, and the benchmark
// shows the two side by side.
inline AsciiReading readAsciiRecordThroughText(QByteArrayView record) {
    const QString text = QString::fromLatin1(record);
    const QList<QStringView> fields = QStringView(text).split(u'\t');
    return readInStoringOrder([&](qsizetype index) {
        return index < fields.size() ? number_text::parseInstrument(fields[index]) : std::nullopt;
    });
}
