#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "seawater/plausibility.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Reference conductivity: conductivity ratio R is conductivity / this.
constexpr double kC35 = 4.2914;

using Formula = std::optional<double> (*)(double, double, double);
constexpr Formula kSalinity = seawater::practicalSalinity;
constexpr Formula kVelocity = seawater::soundVelocity;

// Salinity from conductivity (S/m), sound velocity from salinity; pressure in bar.
TEST(Seawater, CheckValuesAndRefusals) {
    const struct {
        const char* what;
        Formula formula;
        double first, temperature, pressure;
        std::optional<double> expected;  // nullopt: no value
        // 0: bit-exact; else half a unit in the last printed decimal, so the printed value matches.
        double tolerance = 0;
    } cases[] = {
        {"check value R=1.888091 T=40 p=10000dbar", kSalinity, 8.1025537174, 40, 1000, 39.999996,
         5e-7},
        {"check table R=1 T=15 p=0", kSalinity, kC35, 15, 0, 35.000000, 5e-7},
        {"check table R=1.2 T=20 p=2000dbar", kSalinity, 1.2 * kC35, 20, 200, 37.245628, 5e-7},
        {"check table R=0.65 T=5 p=1500dbar", kSalinity, 0.65 * kC35, 5, 150, 27.995347, 5e-7},
        {"zero ratio goes on: a0 exactly, whatever the pressure", kSalinity, 0, 15, 500, 0.008},
        {"negative salinity is still a result", kSalinity, 0, 0, 0, -0.0019, 5e-5},
        {"negative conductivity", kSalinity, -1e-300, 15, 0, std::nullopt},
        // 1 + 0.0162 * (T - 15) is exactly 0 here.
        {"temperature factor divides by zero", kSalinity, kC35, -46.7283950617284, 0, std::nullopt},
        {"conductivity overflows", kSalinity, 1e200, 15, 0, std::nullopt},
        {"pressure correction overflows", kSalinity, kC35, 15, 1e200, std::nullopt},
        {"temperature overflows", kSalinity, kC35, 1e200, 0, std::nullopt},
        {"check value S=40 T=40 P=1000bar", kVelocity, 40, 40, 1000, 1731.9954, 5e-5},
        {"check table S=25 T=0 P=0", kVelocity, 25, 0, 0, 1435.789875, 5e-7},
        {"standard sea water", kVelocity, 35, 15, 0, 1506.6633, 5e-5},
        {"pure water at zero is the leading coefficient", kVelocity, -0.0, 0, 0, 1402.388},
        {"smallest negative salinity", kVelocity, -5e-324, 15, 0, std::nullopt},
        {"salinity overflows", kVelocity, 1e200, 15, 0, std::nullopt},
        {"not-a-number salinity", kVelocity, kNaN, 15, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto actual = c.formula(c.first, c.temperature, c.pressure);
        EXPECT_EQ(actual.has_value(), c.expected.has_value());
        if (actual && c.expected) {
            EXPECT_NEAR(*actual, *c.expected, c.tolerance);
        }
    }
}

// Each bound holds on its edge and fails just past it; the inputs are named before the values
// computed from them, which they throw off as well.
TEST(Plausibility, BoundsOfWhatTheSeaGives) {
    const struct {
        const char16_t* named;  // nullptr: plausible
        std::vector<seawater::Reading> readings;
    } cases[] = {
        // A value the instrument does not give is not judged.
        {nullptr,
         {{4.2914, 15, 0, 35, 1506.66},
          {10, 45, 1200, 0, 1800},
          {0, -5, -2, 0, 1350},
          {std::nullopt, std::nullopt, 0, std::nullopt, 1500.12}}},
        {u"temperature outside -5 to 45 °C", {{4.2914, -5.01, 0, 35, 1506.66}, {-1, 50, 0, -1, 0}}},
        {u"conductivity outside 0 to 10 S/m",
         {{-0.001, 15, 0, 35, 1506.66}, {1e19, 15, 0, 35, 99999.99}, {kNaN, 15, 0, 35, 1506.66}}},
        {u"pressure outside -20 to 12000 dbar",
         {{4.2914, 15, -2.01, 35, 1506.66}, {4.2914, 15, 1200.1, 35, 1506.66}}},
        {u"salinity below 0, no sound velocity", {{0, 0, 0, -0.0019, 1506.66}}},
        {u"sound velocity outside 1350 to 1800 m/s",
         {{0, 15, 0, 0.008, 0},
          {4.2914, 15, 0, 35, 1800.01},
          {std::nullopt, 21.5, 0, std::nullopt, 0}}},
    };
    for (const auto& c : cases) {
        for (const seawater::Reading& reading : c.readings) {
            EXPECT_EQ(seawater::implausibleValue(reading),
                      c.named ? QString::fromUtf16(c.named) : QString())
                << reading.temperature.value_or(kNaN) << " " << reading.conductivity.value_or(kNaN);
        }
    }
}

}  // namespace
