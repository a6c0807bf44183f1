#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <optional>
#include <random>

namespace {

using namespace number_text;

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Halves round away from zero on the shortest decimal text of the value, not on its binary
// expansion (1.005 is stored as 1.00499...); zero after rounding has no minus sign. Without a
// pattern: the shortest plain decimal of at most fifteen significant digits.
TEST(NumberTextFormat, RoundsHalvesAwayFromZeroOnTheShortestDecimalText) {
    const struct {
        double value;
        const char* pattern;  // nullptr: general format
        const char* expected;
    } cases[] = {
        {1.005, "0.00", "1.01"},
        {1500.125, " 0.00 ", " 1500.13 "},
        {99999.5, "00000", "100000"},
        {0.95, "0", "1"},
        {1506.664999, "0.00", "1506.66"},
        {-0.0049, "0.00", "0.00"},
        {-0.005, "0.00", "-0.01"},
        {-1e20, "00000", "-100000000000000000000"},
        {kNaN, " 0.00 ", ""},
        {1506.66, nullptr, "1506.66"},
        {-0.0, nullptr, "0"},
        {-1e20, nullptr, "-100000000000000000000"},
        {-2.0 / 3.0, nullptr, "-0.666666666666667"},
        {999999999999999.9, nullptr, "1000000000000000"},
        {1.23456789012345e-5, nullptr, "0.0000123456789012345"},
        {kNaN, nullptr, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.pattern ? formatPattern(c.value, QString::fromLatin1(c.pattern), kEnglish)
                            : formatGeneral(c.value, kEnglish),
                  QString::fromLatin1(c.expected))
            << c.value << " with \"" << (c.pattern ? c.pattern : "general") << '"';
    }
}

// The rounding without text against the text round trip it replaces, where the two could part:
// on and a few doubles either side of every x.xx0 and x.xx5 of a sound velocity, either sign,
// at the ends of the fast path, and over random doubles of every magnitude.
TEST(NumberTextRoundToHundredths, IsTheTwoDecimalTextReadBack) {
    const auto bits = [](std::optional<double> v) {
        return v ? std::optional(std::bit_cast<std::uint64_t>(*v)) : std::nullopt;
    };
    const auto expectSame = [&](double value) {
        ASSERT_EQ(bits(roundToHundredths(value)),
                  bits(parse(formatPattern(value, u"0.00", kGerman), kGerman)))
            << std::setprecision(17) << value;
    };
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const auto around = [&](double middle) {
        for (const double toward : {-kInf, kInf}) {
            double value = middle;
            for (int ulps = 0; ulps < 3; ++ulps, value = std::nextafter(value, toward)) {
                expectSame(value);
            }
        }
    };
    for (int thousandths = 1400000; thousandths <= 1600000; thousandths += 5) {
        around(thousandths / 1000.0);
        around(-thousandths / 1000.0);
    }
    for (const double edge : {0.0, 0.005, -0.005, 0.125, 0x1p43, -0x1p43, 0x1p53, kInf, kNaN}) {
        around(edge);
    }
    std::mt19937_64 random(1506);
    std::uniform_real_distribution<double> wide(-0x1p45, 0x1p45);
    for (int i = 0; i < 50000; ++i) {
        expectSame(std::bit_cast<double>(random()));
        expectSame(wide(random));
        expectSame(std::ldexp(wide(random), -40));
    }
}

// A German desktop: decimal comma, never a group separator, also through the default locale.
TEST(NumberTextFormat, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
    EXPECT_EQ(formatPattern(1234567.891, u"0.000", kGerman), "1234567,891");
    EXPECT_EQ(formatGeneral(1234567.5, kGerman), "1234567,5");
    QLocale::setDefault(kGerman);
    EXPECT_EQ(formatPattern(3.5, u"0.00"), "3,50");
    EXPECT_EQ(formatGeneral(3.5), "3,5");
    QLocale::setDefault(QLocale::c());
}

// Typed text follows the given locale and refuses group separators; the instrument's text (no
// locale) always has a point, whatever the default locale says.
TEST(NumberTextParse, TypedTextInItsLocaleInstrumentTextWithAPoint) {
    const struct {
        const QLocale* locale;
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {&kEnglish, " 15.5 ", 15.5},   {&kEnglish, "-0.75", -0.75}, {&kEnglish, "1,500", {}},
        {&kEnglish, "", {}},           {&kEnglish, "1.5x", {}},     {&kEnglish, "inf", {}},
        {&kEnglish, "nan", {}},        {&kEnglish, "1e400", {}},    {&kGerman, " -0,75 ", -0.75},
        {&kGerman, "1.5", {}},         {&kGerman, "1.500", {}},     {&kGerman, "1500", 1500.0},
        {nullptr, "0035.008", 35.008}, {nullptr, "-00.750", -0.75}, {nullptr, "35,008", {}},
    };
    QLocale::setDefault(kGerman);
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(c.locale ? parse(text, *c.locale) : parseInstrument(text), c.expected)
            << '"' << c.text << '"';
    }
    QLocale::setDefault(QLocale::c());
}

TEST(NumberTextToWhole, NearestWithTiesToEvenAndRange) {
    const struct {
        double value;
        std::optional<int> expected;
    } cases[] = {
        {0.5, 0},         {-2.5, -2},    {2.5000000000000004, 3}, {0.49999999999999994, 0},
        {65535.4, 65535}, {65535.5, {}}, {-32768.5, -32768},      {-32768.6, {}},
        {-1e300, {}},     {kNaN, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toWhole(c.value, -32768, 65535), c.expected) << c.value;
    }
}

TEST(NumberTextParseInt16, RoundsAndChecksTheSixteenBitRange) {
    EXPECT_EQ(parseInt16(u"2,5", kGerman), 2);
    EXPECT_EQ(parseInt16(u"-32768", kEnglish), -32768);
    EXPECT_EQ(parseInt16(u"32767", kEnglish), 32767);
    EXPECT_EQ(parseInt16(u"32767.5", kEnglish), std::nullopt);
    EXPECT_EQ(parseInt16(u"-32769", kEnglish), std::nullopt);
    EXPECT_EQ(parseInt16(u"x", kEnglish), std::nullopt);
}

}  // namespace
