#include "input/ascii_record.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

// Fields are stored in order until the first bad one, pressure and conductivity divided by ten.
// The instrument's numbers must not follow the user's locale, so a German desktop reads them too.
TEST(AsciiRecord, StoresInOrderUntilABadField) {
    const std::optional<double> no;
    const struct {
        QByteArray record;
        std::optional<double> pressure, conductivity, temperature;
    } cases[] = {
        {"0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.75 / 10, 35.008 / 10, 15.5},
        {" 42.1 \t\t 100 \t\t -1.25 ", 10.0, 42.1 / 10, -1.25},
        {"35\tMS/CM\t10\tDBAR\t15\tC\textra", 1.0, 3.5, 15.0},
        {"ABC\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.75 / 10, no, no},
        {"0035.008\tMS/CM\tdeep\tDBAR\t15.500\tC", no, no, no},
        {"35\tMS/CM\t10\tDBAR\t\tC", 1.0, 3.5, no},
        {"35\tMS/CM\t10\tDBAR", 1.0, 3.5, no},
        {"", no, no, no},
        {"35,008\tMS/CM\t10\tDBAR\t15\tC", 1.0, no, no},
        {"35\tMS/CM\t10\tDBAR\tinf\tC", 1.0, 3.5, no},
        {"+35\tMS/CM\t\xA0+1e1\x85\tDBAR\t\v1.5E1\r\tC", 1.0, 3.5, 15.0},
        {"35\tMS/CM\t10\tDBAR\t+-15\tC", 1.0, 3.5, no},
        {"35\tMS/CM\t1e-400\tDBAR\t15\tC", no, no, no},
        {"35\tMS/CM\t1 0\tDBAR\t15\tC", no, no, no},
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        const AsciiReading reading = readAsciiRecord(c.record);
        EXPECT_EQ(reading.pressure, c.pressure);
        EXPECT_EQ(reading.conductivity, c.conductivity);
        EXPECT_EQ(reading.temperature, c.temperature);
        EXPECT_EQ(reading.complete(), c.temperature.has_value());
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
