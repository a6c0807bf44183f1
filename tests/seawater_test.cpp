#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Reference conductivity: conductivity ratio R is conductivity / this.
constexpr double kC35 = 4.2914;

// Half a unit in the last printed decimal: the value as printed is matched exactly.
constexpr double printed(int decimals) {
    return decimals == 0 ? 0.5 : printed(decimals - 1) / 10;
}

struct Reading {
    const char* what;
    double first;  // conductivity (S/m) or salinity
    double temperature;
    double pressure;  // bar
    double expected;
    double tolerance;  // 0: bit-exact
};

void PrintTo(const Reading& r, std::ostream* os) {
    *os << r.what;
}

class PracticalSalinity : public ::testing::TestWithParam<Reading> {};

TEST_P(PracticalSalinity, MatchesKnownValue) {
    const Reading& r = GetParam();
    const auto s = seawater::practicalSalinity(r.first, r.temperature, r.pressure);
    ASSERT_TRUE(s.has_value());
    if (r.tolerance == 0) {
        EXPECT_EQ(*s, r.expected);
    } else {
        EXPECT_NEAR(*s, r.expected, r.tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, PracticalSalinity,
    ::testing::Values(
        Reading{"standard sea water is 35", kC35, 15, 0, 35, 1e-7},
        Reading{"check value R=1.888091 T=40 p=10000dbar", 8.1025537174, 40, 1000, 39.999996,
                printed(6)},
        Reading{"check value shown to four decimals", 8.1025537174, 40, 1000, 40.0, printed(4)},
        Reading{"check table R=1 T=15 p=0", 1.0 * kC35, 15, 0, 35.000000, printed(6)},
        Reading{"check table R=1.2 T=20 p=2000dbar", 1.2 * kC35, 20, 200, 37.245628, printed(6)},
        Reading{"check table R=0.65 T=5 p=1500dbar", 0.65 * kC35, 5, 150, 27.995347, printed(6)},
        Reading{"warm sea water under pressure", 5, 20, 100, 36.3576, printed(4)},
        Reading{"brackish water", 1, 15, 1, 7.1156, printed(4)},
        Reading{"pressure alone moves the result", kC35, 15, 1, 34.9959, printed(4)},
        Reading{"zero ratio goes on: a0 exactly", 0, 15, 0, 0.008, 0},
        Reading{"zero ratio ignores pressure", 0, 15, 500, 0.008, 0},
        Reading{"negative result is still a result", 0, 0, 0, -0.0019, printed(4)}));

class PracticalSalinityRefused : public ::testing::TestWithParam<Reading> {};

TEST_P(PracticalSalinityRefused, GivesNoValue) {
    const Reading& r = GetParam();
    EXPECT_EQ(seawater::practicalSalinity(r.first, r.temperature, r.pressure), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PracticalSalinityRefused,
    ::testing::Values(Reading{"negative conductivity", -1, 15, 0, 0, 0},
                      Reading{"tiny negative conductivity", -1e-300, 15, 0, 0, 0},
                      // 1 + 0.0162 * (T - 15) is exactly 0 here.
                      Reading{"temperature factor divides by zero", kC35, -46.7283950617284, 0, 0,
                              0},
                      Reading{"conductivity overflows", 1e200, 15, 0, 0, 0},
                      Reading{"pressure correction overflows", kC35, 15, 1e200, 0, 0},
                      Reading{"temperature overflows", kC35, 1e200, 0, 0, 0},
                      Reading{"infinite conductivity", kInf, 15, 0, 0, 0},
                      Reading{"not-a-number temperature", kC35, kNaN, 0, 0, 0},
                      Reading{"not-a-number pressure", kC35, 15, kNaN, 0, 0}));

class SoundVelocity : public ::testing::TestWithParam<Reading> {};

TEST_P(SoundVelocity, MatchesKnownValue) {
    const Reading& r = GetParam();
    const auto v = seawater::soundVelocity(r.first, r.temperature, r.pressure);
    ASSERT_TRUE(v.has_value());
    if (r.tolerance == 0) {
        EXPECT_EQ(*v, r.expected);
    } else {
        EXPECT_NEAR(*v, r.expected, r.tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SoundVelocity,
    ::testing::Values(
        Reading{"check value S=40 T=40 P=1000bar", 40, 40, 1000, 1731.995, printed(3)},
        Reading{"check value to four decimals", 40, 40, 1000, 1731.9954, printed(4)},
        Reading{"check table S=25 T=0 P=0", 25, 0, 0, 1435.789875, printed(6)},
        Reading{"standard sea water", 35, 15, 0, 1506.6633, printed(4)},
        Reading{"pure water at zero is the leading coefficient", 0, 0, 0, 1402.388, 0},
        Reading{"negative zero salinity goes on", -0.0, 0, 0, 1402.388, 0},
        Reading{"cold sea water", 35, 0, 0, 1449.14, printed(2)},
        Reading{"sea water under pressure", 35, 10, 100, 1506.34, printed(2)}));

class SoundVelocityRefused : public ::testing::TestWithParam<Reading> {};

TEST_P(SoundVelocityRefused, GivesNoValue) {
    const Reading& r = GetParam();
    EXPECT_EQ(seawater::soundVelocity(r.first, r.temperature, r.pressure), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SoundVelocityRefused,
    ::testing::Values(Reading{"slightly negative salinity", -0.0019, 0, 0, 0, 0},
                      Reading{"smallest negative salinity", -5e-324, 15, 0, 0, 0},
                      Reading{"salinity overflows", 1e200, 15, 0, 0, 0},
                      Reading{"temperature overflows", 35, 1e200, 0, 0, 0},
                      Reading{"pressure overflows", 35, 15, 1e200, 0, 0},
                      Reading{"infinite temperature", 35, kInf, 0, 0, 0},
                      Reading{"not-a-number salinity", kNaN, 15, 0, 0, 0}));

// One reading through both computations, as the window runs them: the sound velocity comes from
// the salinity at full precision, not from its four-decimal display.
class ReadingToSoundVelocity : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadingToSoundVelocity, MatchesTwoDecimals) {
    const Reading& r = GetParam();
    const auto s = seawater::practicalSalinity(r.first, r.temperature, r.pressure);
    ASSERT_TRUE(s.has_value());
    const auto v = seawater::soundVelocity(*s, r.temperature, r.pressure);
    ASSERT_TRUE(v.has_value());
    EXPECT_NEAR(*v, r.expected, r.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadingToSoundVelocity,
    ::testing::Values(Reading{"standard sea water", kC35, 15, 0, 1506.66, printed(2)},
                      Reading{"warm sea water under pressure", 5, 20, 100, 1539.63, printed(2)},
                      Reading{"check value reading", 8.1025537174, 40, 1000, 1732.00, printed(2)},
                      Reading{"brackish water at 1 bar", 1, 15, 1, 1474.49, printed(2)},
                      Reading{"fresh water at 1 bar", 0, 15, 1, 1466.10, printed(2)},
                      Reading{"standard sea water at 1 bar", kC35, 15, 1, 1506.82, printed(2)}));

}  // namespace
