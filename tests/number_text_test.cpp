#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Makes German the default locale for one test, as on a German desktop.
class GermanDefault {
public:
    GermanDefault() { QLocale::setDefault(kGerman); }
    ~GermanDefault() { QLocale::setDefault(saved_); }
    GermanDefault(const GermanDefault&) = delete;
    GermanDefault& operator=(const GermanDefault&) = delete;

private:
    QLocale saved_;
};

struct PatternCase {
    double value;
    const char* pattern;
    const char* expected;
};

TEST(NumberTextFormatPattern, RoundsHalvesAwayFromZeroOnTheShortestDecimalText) {
    const PatternCase cases[] = {
        {1.005, "0.00", "1.01"},
        {2.675, "0.00", "2.68"},
        {-2.675, "0.00", "-2.68"},
        {15002.5, "00000", "15003"},
        {1500.25 * 10, "00000", "15003"},
        {-15002.5, "00000", "-15003"},
        {1500.123, " 0.00 ", " 1500.12 "},
        {1500.125, " 0.00 ", " 1500.13 "},
        {0.0, "00000", "00000"},
        {42.0, "00000", "00042"},
        {123456.0, "00000", "123456"},
        {-0.00190123, "0.0000", "-0.0019"},
        {-0.75, "0.000", "-0.750"},
        {35.008, "0.000", "35.008"},
        {0.5, "0.00", "0.50"},
        {0.005, "0.00", "0.01"},
        {0.0049, "0.00", "0.00"},
        {0.0004, "0.00", "0.00"},
        {9.995, "0.00", "10.00"},
        {99999.5, "00000", "100000"},
        {0.95, "0", "1"},
        {0.4, "0", "0"},
        {1e-300, "0.00", "0.00"},
        {1506.664999, "0.00", "1506.66"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatPattern(c.value, QString::fromLatin1(c.pattern), kEnglish),
                  QString::fromLatin1(c.expected))
            << c.value << " with \"" << c.pattern << '"';
    }
}

TEST(NumberTextFormatPattern, ZeroAfterRoundingHasNoMinusSign) {
    const PatternCase cases[] = {
        {-0.0049, "0.00", "0.00"},
        {-0.0, "0.000", "0.000"},
        {-0.4, "00000", "00000"},
        {-0.005, "0.00", "-0.01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatPattern(c.value, QString::fromLatin1(c.pattern), kEnglish),
                  QString::fromLatin1(c.expected))
            << c.value << " with \"" << c.pattern << '"';
    }
}

TEST(NumberTextFormatPattern, WithoutANumberPartAppendsTheWholeNumber) {
    const PatternCase cases[] = {
        {0.3, "SV ", "SV 0"},        {-0.4, "", "0"},  {0.0, "x", "x0"}, {2.5, "", "3"},
        {-1506.66, "v=", "v=-1507"}, {7.0, ".", ".7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatPattern(c.value, QString::fromLatin1(c.pattern), kEnglish),
                  QString::fromLatin1(c.expected))
            << c.value << " with \"" << c.pattern << '"';
    }
}

TEST(NumberTextFormatPattern, HugeValuesArePlainDigits) {
    const QString text = number_text::formatPattern(1e300, u"0.00", kEnglish);
    EXPECT_EQ(text, QStringLiteral("1") + QString(300, u'0') + QStringLiteral(".00"));
    EXPECT_EQ(number_text::formatPattern(-1e20, u"00000", kEnglish),
              QStringLiteral("-100000000000000000000"));
}

TEST(NumberTextFormatPattern, NonFiniteGivesEmptyText) {
    for (const double value : {kInf, -kInf, kNaN}) {
        EXPECT_TRUE(number_text::formatPattern(value, u" 0.00 ", kEnglish).isEmpty()) << value;
    }
}

TEST(NumberTextFormatPattern, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
    EXPECT_EQ(number_text::formatPattern(1500.12, u" 0.00 ", kGerman), QStringLiteral(" 1500,12 "));
    EXPECT_EQ(number_text::formatPattern(1234567.891, u"0.000", kGerman),
              QStringLiteral("1234567,891"));
    EXPECT_EQ(number_text::formatPattern(1234567.891, u"0.000", kEnglish),
              QStringLiteral("1234567.891"));
}

TEST(NumberTextFormatPattern, DefaultsToTheDefaultLocale) {
    GermanDefault german;
    EXPECT_EQ(number_text::formatPattern(3.5, u"0.00"), QStringLiteral("3,50"));
    EXPECT_EQ(number_text::formatGeneral(3.5), QStringLiteral("3,5"));
}

struct GeneralCase {
    double value;
    const char* expected;
};

TEST(NumberTextFormatGeneral, ShortestPlainDecimalWithFifteenSignificantDigits) {
    const GeneralCase cases[] = {
        {1506.66, "1506.66"},
        {1500.1, "1500.1"},
        {1732.0, "1732"},
        {3.5008, "3.5008"},
        {-0.75, "-0.75"},
        {15.5, "15.5"},
        {0.008, "0.008"},
        {0.0, "0"},
        {-0.0, "0"},
        {1e-7, "0.0000001"},
        {1e20, "100000000000000000000"},
        {-1e20, "-100000000000000000000"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-2.0 / 3.0, "-0.666666666666667"},
        {123456789012345.6, "123456789012346"},
        {999999999999999.9, "1000000000000000"},
        {1.23456789012345e-5, "0.0000123456789012345"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::formatGeneral(c.value, kEnglish), QString::fromLatin1(c.expected))
            << c.value;
    }
}

TEST(NumberTextFormatGeneral, LocaleSeparatorAndNonFinite) {
    EXPECT_EQ(number_text::formatGeneral(1506.66, kGerman), QStringLiteral("1506,66"));
    EXPECT_EQ(number_text::formatGeneral(1234567.5, kGerman), QStringLiteral("1234567,5"));
    for (const double value : {kInf, -kInf, kNaN}) {
        EXPECT_TRUE(number_text::formatGeneral(value, kEnglish).isEmpty()) << value;
    }
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
    const ParseCase english[] = {
        {"1.5", 1.5}, {" 15.5 ", 15.5}, {"-0.75", -0.75},  {"500", 500.0}, {"1,500", {}},
        {"", {}},     {"   ", {}},      {"abc", {}},       {"1.5x", {}},   {"inf", {}},
        {"nan", {}},  {"1e400", {}},    {"-infinity", {}},
    };
    for (const auto& c : english) {
        expectParses(c, number_text::parse(QString::fromLatin1(c.text), kEnglish));
    }
    const ParseCase german[] = {
        {"1,5", 1.5}, {"1.5", {}}, {"1.500", {}}, {" -0,75 ", -0.75}, {"1500", 1500.0},
    };
    for (const auto& c : german) {
        expectParses(c, number_text::parse(QString::fromLatin1(c.text), kGerman));
    }
}

TEST(NumberTextParse, InstrumentTextAlwaysUsesAPoint) {
    GermanDefault german;
    const ParseCase cases[] = {
        {"0035.008", 35.008}, {"-00.750", -0.75}, {" 15.5 ", 15.5}, {"3.5008", 3.5008},
        {"35,008", {}},       {"", {}},           {"nan", {}},
    };
    for (const auto& c : cases) {
        expectParses(c, number_text::parseInstrument(QString::fromLatin1(c.text)));
    }
}

struct WholeCase {
    double value;
    int min;
    int max;
    std::optional<int> expected;
};

TEST(NumberTextToWhole, NearestWithTiesToEvenAndRange) {
    const WholeCase cases[] = {
        {0.5, 0, 65535, 0},
        {1.5, 0, 65535, 2},
        {2.5, 0, 65535, 2},
        {-2.5, -10, 10, -2},
        {-3.5, -10, 10, -4},
        {-0.5, -10, 10, 0},
        {250.5, 0, 65535, 250},
        {251.5, 0, 65535, 252},
        {15002.5, 0, 65535, 15002},
        {2.4999999999999996, 0, 10, 2},
        {2.5000000000000004, 0, 10, 3},
        {0.49999999999999994, 0, 10, 0},
        {65535.4, 0, 65535, 65535},
        {65535.5, 0, 65535, std::nullopt},
        {-0.5, 0, 65535, 0},
        {-0.6, 0, 65535, std::nullopt},
        {1e300, 0, 65535, std::nullopt},
        {-1e300, -32768, 32767, std::nullopt},
        {kInf, 0, 65535, std::nullopt},
        {kNaN, 0, 65535, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::toWhole(c.value, c.min, c.max), c.expected) << c.value;
    }
}

TEST(NumberTextParseInt16, RoundsAndChecksTheSixteenBitRange) {
    const struct {
        const char* text;
        std::optional<int> expected;
    } cases[] = {
        {"3", 3},        {" 2.5 ", 2},   {"3.5", 4},    {"-32768", -32768}, {"32767", 32767},
        {"32767.5", {}}, {"-32769", {}}, {"1e300", {}}, {"", {}},           {"x", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(number_text::parseInt16(QString::fromLatin1(c.text), kEnglish), c.expected)
            << '"' << c.text << '"';
    }
    EXPECT_EQ(number_text::parseInt16(u"2,5", kGerman), 2);
}

}  // namespace
