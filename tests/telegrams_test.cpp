#include "output/telegrams.h"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <ostream>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

struct Reading {
    const char* name;
    double soundvelocity;
    double pressure;  // bar
    double temperature;
    QByteArray appMicrosystems;
    QByteArray svp20;
    QByteArray generic;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Reading& c, std::ostream* os) {
    *os << c.name;
}

// Field 1 of SVP 20 and field 3 convert to whole tenths with ties to even, while the Generic
// telegram and the pressure field round halves away from zero: the same 1500.25 m/s comes out
// as 15002 in one and 15003 in the other.
const Reading kReadings[] = {
    {"before any reading", 0, 0, 0, " 0.00 \r\n", "000000000000000990000\r\n", "S00000\r\n"},
    {"tie in the tenths", 1500.25, 0, 0, " 1500.25 \r\n", "150020000000000990000\r\n",
     "S15003\r\n"},
    {"two decimals from more", 1500.123, 0, 0, " 1500.12 \r\n", "150010000000000990000\r\n",
     "S15001\r\n"},
    {"whole bar and tenths", 1500.0, 10.2, 15.3, " 1500.00 \r\n", "150000001000153990000\r\n",
     "S15000\r\n"},
    {"pressure below the surface rounds up", 1500.0, -0.6, 0, " 1500.00 \r\n",
     "150000000100000990000\r\n", "S15000\r\n"},
    {"small negative pressure rounds to zero", 1500.0, -0.075, 0, " 1500.00 \r\n",
     "150000000000000990000\r\n", "S15000\r\n"},
    {"half a bar rounds away from zero", 1500.0, 2.5, 0, " 1500.00 \r\n",
     "150000000300000990000\r\n", "S15000\r\n"},
    {"negative temperature takes a sixth byte", 1450.0, 1, -1.5, " 1450.00 \r\n",
     "1450000001-00015990000\r\n", "S14500\r\n"},
    {"temperature tie goes to even", 1450.0, 1, 0.25, " 1450.00 \r\n", "145000000100002990000\r\n",
     "S14500\r\n"},
};

class TelegramsTest : public ::testing::TestWithParam<Reading> {};

TEST_P(TelegramsTest, GivesExactBytes) {
    const Reading& r = GetParam();
    EXPECT_EQ(telegrams::appMicrosystems(r.soundvelocity, kEnglish), r.appMicrosystems);
    EXPECT_EQ(telegrams::svp20(r.soundvelocity, r.pressure, r.temperature), r.svp20);
    EXPECT_EQ(telegrams::generic(r.soundvelocity), r.generic);
}

INSTANTIATE_TEST_SUITE_P(Readings, TelegramsTest, ::testing::ValuesIn(kReadings),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

TEST(TelegramsTest, SvpTelegramLengthTellsTheTemperatureSign) {
    EXPECT_EQ(telegrams::svp20(1500, 10, 15).size(), 23);
    EXPECT_EQ(telegrams::svp20(1500, 10, -15).size(), 24);
}

TEST(TelegramsTest, DecimalCommaOnlyInTheAppMicrosystemsTelegram) {
    EXPECT_EQ(telegrams::appMicrosystems(1500.123, kGerman), " 1500,12 \r\n");
    EXPECT_EQ(telegrams::svp20(1500.123, 10.2, 15.3), "150010001000153990000\r\n");
    EXPECT_EQ(telegrams::generic(1500.123), "S15001\r\n");
}

// Values that no sea gives (a corrupted record, an absurd typed calculation) must not reach a
// receiver as a plausible figure or stretch a fixed-width telegram: a field that cannot hold
// the value is all nines.
struct Unholdable {
    const char* name;
    double soundvelocity;
    double pressure;
    double temperature;
    QByteArray appMicrosystems;
    QByteArray svp20;
    QByteArray generic;
};

const Unholdable kUnholdable[] = {
    {"largest that fits", 9999.9, 99999.4, 9999.9, " 9999.90 \r\n", "999999999999999990000\r\n",
     "S99999\r\n"},
    {"first that needs a sixth digit", 9999.96, 99999.5, 9999.96, " 9999.96 \r\n",
     "999999999999999990000\r\n", "S99999\r\n"},
    {"negative beyond five digits", -10000, -1e6, -10000, " -10000.00 \r\n",
     "-9999999999-99999990000\r\n", "S-99999\r\n"},
    {"beyond 32 bits", 1e300, 1e300, 1e300, " 99999.99 \r\n", "999999999999999990000\r\n",
     "S99999\r\n"},
    {"infinite", -kInf, kInf, -kInf, " -99999.99 \r\n", "-9999999999-99999990000\r\n",
     "S-99999\r\n"},
    {"not a number", kNaN, kNaN, kNaN, " 99999.99 \r\n", "999999999999999990000\r\n", "S99999\r\n"},
};

TEST(TelegramsTest, FieldsThatCannotHoldTheValueAreAllNines) {
    for (const Unholdable& u : kUnholdable) {
        SCOPED_TRACE(u.name);
        EXPECT_EQ(telegrams::appMicrosystems(u.soundvelocity, kEnglish), u.appMicrosystems);
        EXPECT_EQ(telegrams::svp20(u.soundvelocity, u.pressure, u.temperature), u.svp20);
        EXPECT_EQ(telegrams::generic(u.soundvelocity), u.generic);
    }
}

}  // namespace
