#include "output/telegrams.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Field 1 of SVP 20 and field 3 convert to whole tenths with ties to even, while the Generic
// telegram and the pressure field round halves away from zero: the same 1500.25 m/s comes out
// as 15002 in one and 15003 in the other. Values that no sea gives (a corrupted record, an
// absurd typed calculation) must not reach a receiver as a plausible figure or stretch a
// fixed-width telegram: a field that cannot hold the value is all nines. Receivers read a
// decimal point only, so a German desktop must not change a byte.
TEST(Telegrams, GiveExactBytesUnderADecimalCommaLocale) {
    const struct {
        const char* name;
        double soundvelocity, pressure, temperature;
        QByteArray appMicrosystems, svp20, generic;
    } cases[] = {
        {"before any reading", 0, 0, 0, " 0.00 \r\n", "000000000000000990000\r\n", "S00000\r\n"},
        {"tie in the tenths", 1500.25, 0, 0, " 1500.25 \r\n", "150020000000000990000\r\n",
         "S15003\r\n"},
        {"two decimals from more", 1500.123, 0, 0, " 1500.12 \r\n", "150010000000000990000\r\n",
         "S15001\r\n"},
        {"whole bar and tenths", 1500.0, 10.2, 15.3, " 1500.00 \r\n", "150000001000153990000\r\n",
         "S15000\r\n"},
        {"pressure below the surface rounds up", 1500.0, -0.6, 0, " 1500.00 \r\n",
         "150000000100000990000\r\n", "S15000\r\n"},
        {"half a bar rounds away from zero", 1500.0, 2.5, 0, " 1500.00 \r\n",
         "150000000300000990000\r\n", "S15000\r\n"},
        {"temperature tie goes to even", 1450.0, 1, 0.25, " 1450.00 \r\n",
         "145000000100002990000\r\n", "S14500\r\n"},
        {"largest that fits", 9999.9, 99999.4, 9999.9, " 9999.90 \r\n", "999999999999999990000\r\n",
         "S99999\r\n"},
        {"first that needs a sixth digit", 9999.96, 99999.5, 9999.96, " 9999.96 \r\n",
         "999999999999999990000\r\n", "S99999\r\n"},
        {"negative beyond five digits", -10000, -1e6, -10000, " -10000.00 \r\n",
         "-9999999999-99999990000\r\n", "S-99999\r\n"},
        {"infinite", -kInf, kInf, -kInf, " -99999.99 \r\n", "-9999999999-99999990000\r\n",
         "S-99999\r\n"},
        {"not a number", kNaN, kNaN, kNaN, " 99999.99 \r\n", "999999999999999990000\r\n",
         "S99999\r\n"},
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(telegrams::appMicrosystems(c.soundvelocity), c.appMicrosystems);
        EXPECT_EQ(telegrams::svp20(c.soundvelocity, c.pressure, c.temperature), c.svp20);
        EXPECT_EQ(telegrams::generic(c.soundvelocity), c.generic);
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
