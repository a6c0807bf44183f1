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

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Halves round away from zero on the shortest decimal text of the value, not on its binary
// expansion (1.005 is stored as 1.00499...); zero after rounding has no minus sign.
TEST(NumberTextFormatPattern, RoundsHalvesAwayFromZeroOnTheShortestDecimalText) {
    const struct {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {{1.005, "0.00", "1.01"},
                 {15002.5, "00000", "15003"},
                 {1500.125, " 0.00 ", " 1500.13 "},
                 {42.0, "00000", "00042"},
                 {123456.0, "00000", "123456"},
                 {-0.00190123, "0.0000", "-0.0019"},
                 {99999.5, "00000", "100000"},
                 {0.95, "0", "1"},
                 {1506.664999, "0.00", "1506.66"},
                 {-0.0049, "0.00", "0.00"},
                 {-0.005, "0.00", "-0.01"},
                 {-1e20, "00000", "-100000000000000000000"},
                 {kNaN, " 0.00 ", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatPattern(c.value, QString::fromLatin1(c.pattern), kEnglish),
                  QString::fromLatin1(c.expected))
            << c.value << " with \"" << c.pattern << '"';
    }
}

// The rounding without text against the text round trip it replaces, where the two could part:
// on and a few doubles either side of every x.xx0 and x.xx5 of a sound velocity, either sign,
// at the ends of the fast path, and over random doubles of every magnitude.
TEST(NumberTextRoundToHundredths, IsTheTwoDecimalTextReadBack) {
    const auto expectSame = [](double value) {
        const auto text =
            number_text::parse(number_text::formatPattern(value, u"0.00", kGerman), kGerman);
        const auto rounded = number_text::roundToHundredths(value);
        ASSERT_EQ(rounded.has_value(), text.has_value()) << value;
        if (text) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(*rounded), std::bit_cast<std::uint64_t>(*text))
                << std::setprecision(17) << value;
        }
    };
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const auto around = [&](double middle) {
        double below = middle;
        double above = middle;
        for (int ulps = 0; ulps < 3; ++ulps) {
            expectSame(below);
            expectSame(above);
            below = std::nextafter(below, -kInf);
            above = std::nextafter(above, kInf);
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

TEST(NumberTextFormatGeneral, ShortestPlainDecimalWithFifteenSignificantDigits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {{1506.66, "1506.66"},
                 {-0.0, "0"},
                 {-1e20, "-100000000000000000000"},
                 {-2.0 / 3.0, "-0.666666666666667"},
                 {999999999999999.9, "1000000000000000"},
                 {1.23456789012345e-5, "0.0000123456789012345"},
                 {kNaN, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatGeneral(c.value, kEnglish), QString::fromLatin1(c.expected))
            << c.value;
    }
}

// A German desktop: decimal comma, never a group separator, also through the default locale.
TEST(NumberTextFormat, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
    EXPECT_EQ(number_text::formatPattern(1234567.891, u"0.000", kGerman), "1234567,891");
    EXPECT_EQ(number_text::formatPattern(1234567.891, u"0.000", kEnglish), "1234567.891");
    EXPECT_EQ(number_text::formatGeneral(1234567.5, kGerman), "1234567,5");
    QLocale::setDefault(kGerman);
    EXPECT_EQ(number_text::formatPattern(3.5, u"0.00"), "3,50");
    EXPECT_EQ(number_text::formatGeneral(3.5), "3,5");
    QLocale::setDefault(QLocale::c());
}

struct ParseCase {
    const char* text;
    std::optional<double> expected;
};

void expectParses(const ParseCase& c, const std::optional<double>& actual) {
    ASSERT_EQ(actual.has_value(), c.expected.has_value()) << '"' << c.text << '"';
    if (c.expected) {
        EXPECT_DOUBLE_EQ(*actual, *c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberTextParse, ReadsTypedTextInTheGivenLocale) {
    const ParseCase english[] = {{" 15.5 ", 15.5}, {"-0.75", -0.75}, {"1,500", {}}, {"", {}},
                                 {"1.5x", {}},     {"inf", {}},      {"nan", {}},   {"1e400", {}}};
    for (const auto& c : english) {
        expectParses(c, number_text::parse(QString::fromLatin1(c.text), kEnglish));
    }
    const ParseCase german[] = {{" -0,75 ", -0.75}, {"1.5", {}}, {"1.500", {}}, {"1500", 1500.0}};
    for (const auto& c : german) {
        expectParses(c, number_text::parse(QString::fromLatin1(c.text), kGerman));
    }
}

TEST(NumberTextParse, InstrumentTextAlwaysUsesAPoint) {
    QLocale::setDefault(kGerman);
    const ParseCase cases[] = {
        {"0035.008", 35.008}, {"-00.750", -0.75}, {" 15.5 ", 15.5}, {"35,008", {}}, {"nan", {}}};
    for (const auto& c : cases) {
        expectParses(c, number_text::parseInstrument(QString::fromLatin1(c.text)));
    }
    QLocale::setDefault(QLocale::c());
}

TEST(NumberTextToWhole, NearestWithTiesToEvenAndRange) {
    const struct {
        double value;
        int min, max;
        std::optional<int> expected;
    } cases[] = {{0.5, 0, 65535, 0},
                 {-2.5, -10, 10, -2},
                 {2.5000000000000004, 0, 10, 3},
                 {0.49999999999999994, 0, 10, 0},
                 {65535.4, 0, 65535, 65535},
                 {65535.5, 0, 65535, std::nullopt},
                 {-0.6, 0, 65535, std::nullopt},
                 {-1e300, -32768, 32767, std::nullopt},
                 {kNaN, 0, 65535, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::toWhole(c.value, c.min, c.max), c.expected) << c.value;
    }
}

TEST(NumberTextParseInt16, RoundsAndChecksTheSixteenBitRange) {
    const struct {
        const char* text;
        std::optional<int> expected;
    } cases[] = {{" 2.5 ", 2},    {"3.5", 4},     {"-32768", -32768}, {"32767", 32767},
                 {"32767.5", {}}, {"-32769", {}}, {"", {}},           {"x", {}}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::parseInt16(QString::fromLatin1(c.text), kEnglish), c.expected)
            << '"' << c.text << '"';
    }
    EXPECT_EQ(number_text::parseInt16(u"2,5", kGerman), 2);
}

}  // namespace
