#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace number_text {
namespace {

// A finite double as the decimal digits of its shortest round-trip text:
// value = (negative ? -1 : 1) * 0.digits * 10^point. Zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;
};

Decimal toDecimal(double value) {
    // Shortest scientific text, e.g. "-1.005e+00": one leading digit, so the point sits one
    // place further right than the exponent says.
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific);
    const char* p = buffer.data();
    const char* const end = written.ptr;

    Decimal d;
    if (p != end && *p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits.push_back(*p);
        }
    }
    int exponent = 0;
    if (p != end) {
        ++p;
        if (p != end && *p == '+') {
            ++p;
        }
        std::from_chars(p, end, exponent);
    }
    d.point = exponent + 1;
    if (d.digits.find_first_not_of('0') == std::string::npos) {
        d.digits.clear();
        d.point = 0;
    }
    return d;
}

// Keeps the first `keep` digits, rounding the last kept one halves away from zero, and drops
// trailing zeros. A carry out of the leading digit moves the point (9.995 -> 10.00).
void roundToDigits(Decimal& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) {
        return;
    }
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        auto i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[--i] = '0';
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[i - 1];
        }
    }
    const auto last = d.digits.find_last_not_of('0');
    d.digits.resize(last == std::string::npos ? 0 : last + 1);
    if (d.digits.empty()) {
        d.point = 0;
    }
}

// Plain decimal text; `decimals` digits after the separator (written when `withPoint`), at
// least `minInteger` before it. A value that is zero after rounding has no minus sign.
QString render(const Decimal& d, int minInteger, int decimals, bool withPoint,
               const QLocale& locale) {
    const int count = static_cast<int>(d.digits.size());
    auto digitAt = [&](int position) {
        return position >= 0 && position < count ? d.digits[static_cast<std::size_t>(position)]
                                                 : '0';
    };

    QString text;
    if (d.negative && !d.digits.empty()) {
        text += QLatin1Char('-');
    }
    const int integerDigits = std::max(d.point, 0);
    for (int i = integerDigits; i < minInteger; ++i) {
        text += QLatin1Char('0');
    }
    for (int i = 0; i < integerDigits; ++i) {
        text += QLatin1Char(digitAt(i));
    }
    if (withPoint) {
        text += locale.decimalPoint();
    }
    for (int i = 0; i < decimals; ++i) {
        text += QLatin1Char(digitAt(d.point + i));
    }
    return text;
}

// The number part of a pattern: a run of '0's with an optional '.' and more '0's.
struct NumberPattern {
    qsizetype begin = 0;
    qsizetype end = 0;
    int integerZeros = 0;
    int decimals = 0;
    bool withPoint = false;
};

NumberPattern findNumber(QStringView pattern) {
    NumberPattern n;
    const qsizetype size = pattern.size();
    auto isZero = [&](qsizetype i) { return i < size && pattern[i] == u'0'; };
    auto isPoint = [&](qsizetype i) { return i < size && pattern[i] == u'.'; };

    n.begin = 0;
    while (n.begin < size && !isZero(n.begin) && !(isPoint(n.begin) && isZero(n.begin + 1))) {
        ++n.begin;
    }
    qsizetype i = n.begin;
    for (; isZero(i); ++i) {
        ++n.integerZeros;
    }
    if (isPoint(i) && (n.integerZeros > 0 || isZero(i + 1))) {
        n.withPoint = true;
        for (++i; isZero(i); ++i) {
            ++n.decimals;
        }
    }
    n.end = i;
    // Without a number part the value is appended as a whole number: a "0" is implied, so a
    // value that rounds to zero still shows a digit.
    if (n.begin == size) {
        n.integerZeros = 1;
    }
    return n;
}

// The double nearest the decimal digits.
double toDouble(const Decimal& d) {
    if (d.digits.empty()) {
        return 0;
    }
    std::array<char, 64> buffer{};
    char* end = std::copy(d.digits.begin(), d.digits.end(), buffer.data());
    *end++ = 'e';
    end = std::to_chars(end, buffer.data() + buffer.size(),
                        d.point - static_cast<int>(d.digits.size()))
              .ptr;
    double magnitude = 0;
    std::from_chars(buffer.data(), end, magnitude);
    return d.negative ? -magnitude : magnitude;
}

// Rounds on the shortest text, as formatPattern does.
Decimal roundedDecimal(double value, int decimals) {
    Decimal d = toDecimal(value);
    roundToDigits(d, d.point + decimals);
    return d;
}

}  // namespace

std::optional<double> parse(QStringView text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseInstrument(QStringView text) {
    return parse(text, QLocale::c());
}

QString formatPattern(double value, QStringView pattern, const QLocale& locale) {
    if (!std::isfinite(value)) {
        return {};
    }
    const NumberPattern n = findNumber(pattern);
    const Decimal d = roundedDecimal(value, n.decimals);
    return pattern.left(n.begin).toString() +
           render(d, n.integerZeros, n.decimals, n.withPoint, locale) +
           pattern.mid(n.end).toString();
}

std::optional<double> roundToHundredths(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double magnitude = std::fabs(value);
    // Beyond 2^43 a double is coarser than a thousandth and its shortest text can be one of
    // several three-decimal figures: only the digits tell. No measured quantity comes near.
    if (magnitude >= 0x1p43) {
        return toDouble(roundedDecimal(value, 2));
    }
    // Below it, the rounding interval of the value holds at most one three-decimal figure, and
    // if it holds one that figure is the shortest text. So the shortest text reaches a halfway
    // point (2k + 1) / 200 exactly when the top of that interval lies above it (never on it, as
    // the interval's ends have more binary places than any such point). With the value as
    // mantissa * 2^-shift, the top is (2 mantissa + 1) * 2^-(shift + 1), and the halfway points
    // below it are counted in integers. A halfway point that is itself a double (1500.125)
    // counts as reached, as the text rounds it away from zero.
    if (magnitude < 0.004) {
        return 0.0;
    }
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;
    const std::uint64_t mantissa = (bits & (kHiddenBit - 1)) | kHiddenBit;
    const int shift = 1075 - static_cast<int>(bits >> 52);  // 10 to 60 in this range
    const std::uint64_t hundredths =
        ((2 * mantissa + 1) * 100 + (std::uint64_t{1} << shift)) >> (shift + 1);
    if (hundredths == 0) {
        return 0.0;
    }
    return std::copysign(static_cast<double>(hundredths) / 100, value);
}

QString formatGeneral(double value, const QLocale& locale) {
    if (!std::isfinite(value)) {
        return {};
    }
    constexpr int kSignificantDigits = 15;
    Decimal d = toDecimal(value);
    roundToDigits(d, kSignificantDigits);
    const int decimals = std::max(static_cast<int>(d.digits.size()) - d.point, 0);
    return render(d, 1, decimals, decimals > 0, locale);
}

std::optional<int> toWhole(double value, int min, int max) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Decided on the fraction, which value - trunc(value) gives exactly for every double, so that
    // the result depends neither on the rounding mode nor on the C library's round(): MinGW's
    // adds 0.5 first and so takes 0.49999999999999994 up to 1.
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    double nearest = whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        nearest += std::copysign(1.0, value);
    }
    // Range check in double before converting: a huge value must not reach the int cast.
    if (nearest < static_cast<double>(min) || nearest > static_cast<double>(max)) {
        return std::nullopt;
    }
    return static_cast<int>(nearest);
}

std::optional<int> parseInt16(QStringView text, const QLocale& locale) {
    const auto value = parse(text, locale);
    if (!value) {
        return std::nullopt;
    }
    return toWhole(*value, -32768, 32767);
}

std::optional<int> parseDigits(QStringView text) {
    // toInt alone would take a sign and blanks around the digits.
    const bool digits = !text.isEmpty() &&
                        std::ranges::all_of(text, [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool ok = false;
    const int value = digits ? text.toInt(&ok) : 0;
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

}  // namespace number_text
