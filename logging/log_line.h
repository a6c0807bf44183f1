#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// The measurement fields as the window holds them: conductivity in S/m and pressure in bar. A
// value the instrument does not give is empty, and so is its field in the line: the columns
// hold, and no figure stands where nothing was measured.
struct LogValues {
    std::optional<double> conductivity = 0;
    std::optional<double> pressure = 0;
    std::optional<double> temperature = 0;
    std::optional<double> salinity = 0;
    std::optional<double> soundvelocity = 0;
};

// The date-time field: the locale's short date with a four-digit year, a space and the locale's
// long time without a time-zone name; the date alone in the first second of a day, which the
// time shows as midnight.
QString logDateTime(const QDateTime& when, const QLocale& locale = QLocale());

// How the date-time field reads: the desktop's local format, or UTC in ISO 8601 with
// milliseconds ("2024-03-05T13:07:09.250Z"), which sorts as text and does not jump or repeat
// when the clocks change.
enum class LogTime { Local, Utc };

// One data line with its CR LF: the date-time and the five values in the header's units
// (mS/cm and dbar), TAB-separated, with the locale's decimal separator.
QString logLine(const QDateTime& when, const LogValues& values, LogTime time = LogTime::Local,
                const QLocale& locale = QLocale());
