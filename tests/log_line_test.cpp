#include <gtest/gtest.h>

#include <QScopeGuard>
#include <ctime>
#include <tuple>

#include "logging/log_line.h"

namespace {

const QDate kDay(2024, 3, 5);

// Two-digit years widened, time-zone names dropped wherever a locale puts them, and the date
// alone at midnight.
TEST(LogDateTime, FollowsTheLocaleWithAFourDigitYearAndNoTimeZone) {
    const std::tuple<const char*, QTime, const char*> cases[] = {
        {"en_GB", QTime(9, 0, 0), "05/03/2024 09:00:00"},
        {"zh_CN", QTime(14, 7, 9), "2024/3/5 14:07:09"},
        {"en_US", QTime(0, 0, 0, 500), "3/5/2024"},
        {"de_DE", QTime(0, 0, 0), "05.03.2024"},
        {"en_US", QTime(0, 0, 1), "3/5/2024 12:00:01 AM"}};
    for (const auto& [locale, time, expected] : cases) {
        EXPECT_EQ(logDateTime(QDateTime(kDay, time), QLocale(QString::fromLatin1(locale))),
                  QString::fromLatin1(expected))
            << locale << " " << time.toString().toStdString();
    }
}

// Conductivity in S/m and pressure in bar go out as mS/cm and dbar; a value that is not there
// (before the first reading, or one the instrument does not measure) leaves its field empty.
TEST(LogLine, HoldsTheDateAndFiveValuesInTheHeaderUnits) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDateTime when(kDay, QTime(14, 7, 9));
    EXPECT_EQ(logLine(when, {3.5008, -0.075, 12.3456, 35.12344, 1507.2}, LogTime::Local, english),
              "3/5/2024 2:07:09 PM\t35.008\t-0.75\t12.346\t35.1234\t1507.20\r\n");
    EXPECT_EQ(logLine(when, {std::nullopt, 0.15, std::nullopt, std::nullopt, 1500.12},
                      LogTime::Local, english),
              "3/5/2024 2:07:09 PM\t\t1.50\t\t\t1500.12\r\n");
}

// The clock gives local time; in UTC the day and the hour may differ from it, and the hour
// that the clocks repeat in autumn gives two distinct times. A decimal comma does not reach
// the milliseconds.
TEST(LogLine, UtcTimeAcrossMidnightAndTheClockChanges) {
    const QByteArray zone = qgetenv("TZ");
    const auto restore = qScopeGuard([&] {
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();
    });
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const auto local = [](int month, int day, QTime time) {
        return QDateTime(QDate(2024, month, day), time, Qt::LocalTime);
    };
    // As the system clock gives it: the instant, shown in local time.
    const auto instant = [](const char* utc) {
        return QDateTime::fromString(QLatin1String(utc), Qt::ISODateWithMs).toLocalTime();
    };
    const std::pair<QDateTime, const char*> cases[] = {
        {local(3, 6, QTime(0, 0)), "2024-03-05T23:00:00.000Z"},
        {local(3, 31, QTime(1, 59, 59, 999)), "2024-03-31T00:59:59.999Z"},
        {local(3, 31, QTime(3, 0, 0, 7)), "2024-03-31T01:00:00.007Z"},
        {instant("2024-10-27T00:30:00.000Z"), "2024-10-27T00:30:00.000Z"},
        {instant("2024-10-27T01:30:00.000Z"), "2024-10-27T01:30:00.000Z"}};
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const auto& [when, utc] : cases) {
        EXPECT_EQ(logLine(when, LogValues{}, LogTime::Utc, german),
                  QLatin1String(utc) + "\t0,000\t0,00\t0,000\t0,0000\t0,00\r\n")
            << when.toString().toStdString();
    }
    EXPECT_EQ(logDateTime(cases[3].first, german), logDateTime(cases[4].first, german));
}

}  // namespace
