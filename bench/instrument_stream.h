#pragma once

#include <QByteArray>
#include <QLocale>

#include "platform/number_text.h"

// Instrument lines as a Kestrane sends them, opening with a line end so that the first record
// is framed, with values that move from record to record.
inline QByteArray instrumentStream(int records) {
    const QLocale c = QLocale::c();
    const auto field = [&](double value, QStringView pattern) {
        return number_text::formatPattern(value, pattern, c).toLatin1();
    };
    QByteArray bytes = "\r\n";
    for (int i = 0; i < records; ++i) {
        bytes += field(30 + (i % 100) * 0.1, u"0000.000") + "\tMS/CM\t" +
                 field(i % 500, u"00.000") + "\tDBAR\t" + field(5 + (i % 200) * 0.1, u"00.000") +
                 "\tC\r\n";
    }
    return bytes;
}
