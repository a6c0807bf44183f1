#include "input/ascii_record.h"

#include <QList>
#include <QString>

#include "platform/number_text.h"

namespace {

std::optional<double> field(const QList<QStringView>& fields, qsizetype index) {
    if (index >= fields.size()) {
        return std::nullopt;
    }
    return number_text::parseInstrument(fields[index]);
}

}  // namespace

AsciiReading readAsciiRecord(QByteArrayView record) {
    const QString text = QString::fromLatin1(record);
    const QList<QStringView> fields = QStringView(text).split(u'\t');
    AsciiReading reading;
    const auto pressure = field(fields, 2);
    if (!pressure) {
        return reading;
    }
    reading.pressure = *pressure / 10;
    const auto conductivity = field(fields, 0);
    if (!conductivity) {
        return reading;
    }
    reading.conductivity = *conductivity / 10;
    reading.temperature = field(fields, 4);
    return reading;
}
