#include "output/telegrams.h"

#include <cmath>

#include "platform/number_text.h"

namespace telegrams {
namespace {

constexpr int kFiveDigits = 99999;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// All nines of a five-digit field for a value it cannot hold; not-a-number counts as too large.
QByteArray fiveDigitOverflow(double value) {
    return value < 0 ? QByteArrayLiteral("-99999") : QByteArrayLiteral("99999");
}

// A value formatted "00000" (halves away from zero), or the overflow when it would need a sixth
// digit.
QByteArray fiveDigitsRounded(double value) {
    if (!(std::fabs(value) < kFiveDigits + 0.5)) {
        return fiveDigitOverflow(value);
    }
    return number_text::formatPattern(value, u"00000").toLatin1();
}

// A value converted to a whole number (ties to even) and formatted "00000", or the overflow.
QByteArray fiveDigitsWhole(double value) {
    const auto whole = number_text::toWhole(value, -kFiveDigits, kFiveDigits);
    if (!whole) {
        return fiveDigitOverflow(value);
    }
    return number_text::formatPattern(*whole, u"00000").toLatin1();
}

}  // namespace

QByteArray appMicrosystems(double soundvelocity) {
    // The first value whose two-decimal text would need a sixth integer digit.
    constexpr double kTooLarge = 99999.995;
    const double sent = std::fabs(soundvelocity) < kTooLarge ? soundvelocity
                        : soundvelocity < 0                  ? -99999.99
                                                             : 99999.99;
    return number_text::formatPattern(sent, u" 0.00 ", QLocale::c()).toLatin1() + kLineEnd;
}

QByteArray svp20(double soundvelocity, double pressure, double temperature) {
    return fiveDigitsWhole(soundvelocity * 10) + fiveDigitsRounded(std::fabs(pressure)) +
           fiveDigitsWhole(temperature * 10) + QByteArrayLiteral("990000") + kLineEnd;
}

QByteArray generic(double soundvelocity) {
    return 'S' + fiveDigitsRounded(soundvelocity * 10) + kLineEnd;
}

}  // namespace telegrams
