// Number text in several locales. The first byte chooses what is checked and in which locale;
// the rest is typed text or the bytes of a double with a pattern.

#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz/check.h"
#include "platform/number_text.h"

namespace {

const std::array<QLocale, 7>& locales() {
    static const std::array<QLocale, 7> all = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),
        QLocale(QLocale::Swedish, QLocale::Sweden),
        QLocale(QLocale::Arabic, QLocale::Egypt),
    };
    return all;
}

double consumeDouble(FuzzedDataProvider& input) {
    std::array<std::uint8_t, sizeof(double)> bytes{};
    input.ConsumeData(bytes.data(), bytes.size());
    return std::bit_cast<double>(bytes);
}

QString typedText(FuzzedDataProvider& input) {
    return QString::fromStdString(input.ConsumeRemainingBytesAsString());
}

void checkParse(FuzzedDataProvider& input, const QLocale& locale) {
    const QString text = typedText(input);
    const auto value = number_text::parse(text, locale);
    FUZZ_CHECK(!value || std::isfinite(*value));
    const auto padded = number_text::parse(QStringLiteral(" \t") + text + u' ', locale);
    FUZZ_CHECK(padded.has_value() == value.has_value());
    FUZZ_CHECK(!value ||
               std::bit_cast<std::uint64_t>(*padded) == std::bit_cast<std::uint64_t>(*value));
    if (text.trimmed().contains(locale.groupSeparator())) {
        FUZZ_CHECK(!value);
    }
    const auto port = number_text::parseInt16(text, locale);
    FUZZ_CHECK(!port || (*port >= -32768 && *port <= 32767));
    FUZZ_CHECK(!port || value);
}

// Plain decimal text: an optional "-", digits, at most one decimal separator, digits.
bool isPlainDecimal(const QString& text, const QLocale& locale) {
    const QString point = locale.decimalPoint();
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    bool digitSeen = false;
    bool pointSeen = false;
    while (i < text.size()) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            digitSeen = true;
            ++i;
        } else if (!pointSeen && QStringView(text).sliced(i).startsWith(point)) {
            pointSeen = true;
            i += point.size();
        } else {
            return false;
        }
    }
    return digitSeen;
}

// From the first non-zero digit to the last one.
qsizetype significantDigits(const QString& text) {
    QString digits = text;
    digits.removeIf([](QChar c) { return !c.isDigit(); });
    const qsizetype first = digits.indexOf(QRegularExpression(QStringLiteral("[1-9]")));
    if (first < 0) {
        return 0;
    }
    const qsizetype last = digits.lastIndexOf(QRegularExpression(QStringLiteral("[1-9]")));
    return last - first + 1;
}

void checkGeneral(FuzzedDataProvider& input, const QLocale& locale) {
    const double value = consumeDouble(input);
    const QString text = number_text::formatGeneral(value, locale);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text.isEmpty());
        return;
    }
    FUZZ_CHECK(isPlainDecimal(text, locale));
    FUZZ_CHECK(significantDigits(text) <= 15);
    if (text.contains(locale.decimalPoint())) {
        FUZZ_CHECK(!text.endsWith(u'0'));
    }
    const auto back = number_text::parse(text, locale);
    if (!back) {
        // Fifteen digits of the very largest doubles round to 1.79769313486232e308, which no
        // double holds: a limit of the format, shared with every 15-digit display.
        FUZZ_CHECK(std::fabs(value) > 1.79769313486231e308 &&
                   text.contains(QStringLiteral("179769313486232")));
        return;
    }
    // Fifteen significant digits keep the value to half a unit in the fifteenth digit (5e-15 of
    // it at most); the shortest text and the reading back each add up to half a unit in the last
    // place of the double.
    const double error = std::fabs(*back - value);
    FUZZ_CHECK(error <= 5.5e-15 * std::fabs(value) + std::numeric_limits<double>::denorm_min());
    FUZZ_CHECK(text.startsWith(u'-') == (*back != 0 && std::signbit(value)));
}

// The value rounded to `decimals` places, halves away from zero, on its shortest fixed-point
// text, with at least `integerDigits` digits before the point.
std::string expectedNumber(double value, int integerDigits, int decimals, bool withPoint) {
    std::array<char, 512> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       std::fabs(value), std::chars_format::fixed);
    const std::string shortest(buffer.data(), written.ptr);
    const auto point = shortest.find('.');
    std::string whole = shortest.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : shortest.substr(point + 1);
    fraction.resize(std::max(fraction.size(), static_cast<std::size_t>(decimals) + 1), '0');
    const bool up = fraction[static_cast<std::size_t>(decimals)] >= '5';
    std::string digits = whole + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (up) {
        auto i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    const auto split = digits.size() - static_cast<std::size_t>(decimals);
    whole = digits.substr(0, split);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() < static_cast<std::size_t>(integerDigits)) {
        whole.insert(0, static_cast<std::size_t>(integerDigits) - whole.size(), '0');
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string text = (std::signbit(value) && !zero ? "-" : "") + whole;
    if (withPoint) {
        text += '.' + digits.substr(split);
    }
    return text;
}

// Literal text around the number part, which must not itself look like a number part.
QString literal(FuzzedDataProvider& input) {
    QString text = QString::fromStdString(input.ConsumeRandomLengthString(6));
    text.remove(u'0');
    text.remove(u'.');
    return text;
}

void checkPattern(FuzzedDataProvider& input, const QLocale& locale) {
    const double value = consumeDouble(input);
    const QString prefix = literal(input);
    const int integerZeros = input.ConsumeIntegralInRange(0, 20);
    const bool withPoint = input.ConsumeBool();
    const int decimals = withPoint ? input.ConsumeIntegralInRange(0, 20) : 0;
    // Without a number part the whole value is appended after the literal text.
    const bool hasNumber = integerZeros > 0 || decimals > 0;
    const QString suffix = hasNumber ? literal(input) : QString();
    QString pattern = prefix;
    if (hasNumber) {
        pattern += QString(integerZeros, u'0');
        if (withPoint) {
            pattern += u'.';
        }
        pattern += QString(decimals, u'0') + suffix;
    }
    // The window's two-decimal field, rounded without text, against the text round trip.
    const auto hundredths = number_text::roundToHundredths(value);
    const auto readBack =
        number_text::parse(number_text::formatPattern(value, u"0.00", locale), locale);
    FUZZ_CHECK(hundredths.has_value() == readBack.has_value());
    FUZZ_CHECK(!hundredths || std::bit_cast<std::uint64_t>(*hundredths) ==
                                  std::bit_cast<std::uint64_t>(*readBack));
    const QString text = number_text::formatPattern(value, pattern, locale);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text.isEmpty());
        return;
    }
    FUZZ_CHECK(text.startsWith(prefix) && text.endsWith(suffix));
    const QString number = text.sliced(prefix.size(), text.size() - prefix.size() - suffix.size());
    FUZZ_CHECK(isPlainDecimal(number, locale));
    if (std::fabs(value) < 0x1p53) {
        // Below 2^53 the shortest fixed text carries the same digits as the shortest one.
        QString expected = QString::fromStdString(
            expectedNumber(value, hasNumber ? integerZeros : 1, decimals, hasNumber && withPoint));
        expected.replace(u'.', locale.decimalPoint());
        FUZZ_CHECK(number == expected);
    } else {
        // Whole numbers: the shortest digits, then zeros, read back to the very same double.
        const auto back = number_text::parse(number, locale);
        FUZZ_CHECK(back && *back == value);
    }
}

void checkWhole(FuzzedDataProvider& input) {
    const double value = consumeDouble(input);
    const int min = input.ConsumeIntegral<int>();
    const int max = input.ConsumeIntegral<int>();
    const auto whole = number_text::toWhole(value, min, max);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(!whole);
        return;
    }
    // The default floating-point mode rounds to nearest, ties to even.
    const double nearest = std::nearbyint(value);
    const bool inRange = nearest >= min && nearest <= max;
    FUZZ_CHECK(whole.has_value() == inRange);
    FUZZ_CHECK(!whole || *whole == nearest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QLocale& locale = locales()[data[0] / 4 % locales().size()];
    FuzzedDataProvider input(data + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
            checkParse(input, locale);
            break;
        case 1:
            checkGeneral(input, locale);
            break;
        case 2:
            checkPattern(input, locale);
            break;
        default:
            checkWhole(input);
            break;
    }
    return 0;
}
