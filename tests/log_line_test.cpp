#include <gtest/gtest.h>

#include "logging/log_line.h"

namespace {

const QDate kDay(2024, 3, 5);

// Two-digit years widened, time-zone names dropped wherever a locale puts them, and the date
// alone at midnight.
TEST(LogDateTime, FollowsTheLocaleWithAFourDigitYearAndNoTimeZone) {
    const struct {
        const char* locale;
        QTime time;
        const char* expected;
    } cases[] = {
        {"en_US", QTime(14, 7, 9), "3/5/2024 2:07:09 PM"},
        {"de_DE", QTime(14, 7, 9), "05.03.2024 14:07:09"},
        {"en_GB", QTime(9, 0, 0), "05/03/2024 09:00:00"},
        {"zh_CN", QTime(14, 7, 9), "2024/3/5 14:07:09"},
        {"en_US", QTime(0, 0, 0, 500), "3/5/2024"},
        {"de_DE", QTime(0, 0, 0), "05.03.2024"},
        {"en_US", QTime(0, 0, 1), "3/5/2024 12:00:01 AM"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logDateTime(QDateTime(kDay, c.time), QLocale(QString::fromLatin1(c.locale))),
                  QString::fromLatin1(c.expected))
            << c.locale << " " << c.time.toString().toStdString();
    }
}

// Conductivity in S/m and pressure in bar go out as mS/cm and dbar.
TEST(LogLine, HoldsTheDateAndFiveValuesInTheHeaderUnits) {
    const QDateTime when(kDay, QTime(14, 7, 9));
    const LogValues reading{3.5008, -0.075, 12.3456, 35.12344, 1507.2};
    EXPECT_EQ(logLine(when, LogValues{}, QLocale(QLocale::English, QLocale::UnitedStates)),
              "3/5/2024 2:07:09 PM\t0.000\t0.00\t0.000\t0.0000\t0.00\r\n");
    EXPECT_EQ(logLine(when, reading, QLocale(QLocale::English, QLocale::UnitedStates)),
              "3/5/2024 2:07:09 PM\t35.008\t-0.75\t12.346\t35.1234\t1507.20\r\n");
    EXPECT_EQ(logLine(when, reading, QLocale(QLocale::German, QLocale::Germany)),
              "05.03.2024 14:07:09\t35,008\t-0,75\t12,346\t35,1234\t1507,20\r\n");
}

}  // namespace
