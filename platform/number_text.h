#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

// Every number that is typed, shown or sent goes through here, so that the user's locale and
// the two roundings (pattern: halves away from zero; whole numbers: ties to even) are applied
// the same way everywhere. The C library's printf/strtod family is never used for numbers: it
// follows LC_NUMERIC, which a German desktop sets to a decimal comma.
namespace number_text {

// Typed text to a number in the given locale; surrounding blanks are ignored, group separators
// are refused (a German "1.5" is not fifteen). Empty, malformed, infinite ("inf", "1e400") or
// NaN text gives nullopt.
std::optional<double> parse(QStringView text, const QLocale& locale = QLocale());

// Instrument data: always "." as the decimal point, whatever the user's locale; leading zeros
// and a leading minus are fine ("0035.008", "-00.750").
std::optional<double> parseInstrument(QStringView text);

// Pattern formatting: "0.000", "00000", " 0.00 " (literal characters around the digits are
// kept). At least as many integer digits as the pattern's zeros before the point, exactly as
// many decimals as after it, the last one rounded halves away from zero, judged on the
// shortest decimal text that reads back to the same double (1.005 -> "1.01"), "-" before a
// negative value, the locale's decimal separator, no group separator, never an exponent.
// A value that rounds to zero has no minus sign (-0.001 with "0.00" gives "0.00"). The number
// part is the first run of '0's with an optional '.' and more '0's; a pattern without one has
// the value, rounded to a whole number, appended. Infinite and NaN values give an empty string
// (callers pass finite values; an empty telegram is safer than "inf").
QString formatPattern(double value, QStringView pattern, const QLocale& locale = QLocale());

// What formatPattern(value, "0.00") reads back as in any locale, without the text: the double
// nearest the two-decimal figure (+0 when that figure is zero). Nullopt when not finite.
std::optional<double> roundToHundredths(double value);

// General format: plain decimal text with at most 15 significant digits (the last one rounded
// like formatPattern), no trailing zeros, no exponent, "-" before a negative value, the locale's
// decimal separator, no group separator: 1506.66, 1e-7 -> "0.0000001". Infinite and NaN values
// give an empty string.
QString formatGeneral(double value, const QLocale& locale = QLocale());

// Nearest whole number, ties to the even one (2.5 -> 2, 3.5 -> 4); nullopt when not finite or
// when the rounded value lies outside [min, max].
std::optional<int> toWhole(double value, int min, int max);

// A 16-bit signed port number from typed text (nearest, ties to even).
std::optional<int> parseInt16(QStringView text, const QLocale& locale = QLocale());

// A count typed where only digits make sense (a baud rate, a UDP port): a sign, blanks, a
// decimal point or an exponent are typing errors, not numbers. Leading zeros are fine; empty
// text and a value beyond int give nullopt.
std::optional<int> parseDigits(QStringView text);

}  // namespace number_text
