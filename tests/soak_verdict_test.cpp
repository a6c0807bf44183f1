#include "support/soak_verdict.h"

#include <gtest/gtest.h>

namespace {

using namespace test_support;

TEST(SoakVerdict, FloodFaultsAreEveryLostOrMisplacedLineAndNothingElse) {
    constexpr qint64 X = kReopen;
    const struct {
        bool sound;
        WindowEvents events;
        const char* name;
        // Lines 0 to 11; 3 is garbage, 7 noise, 9 an over-long record.
        const char* journal = "3 garbage\n7 noise\n9 long\nsent 12\n";
    } cases[] = {
        {true, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, "every record read"},
        {true, {1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, "lines before the port opened missed"},
        {true, {0, 1, 2, X, 5, 6, X, 10, 11}, "records after a rejected line dropped"},
        {true, {0, 1, 2, X, X, 8, 9, 10, 11}, "rejections in a row while dropping"},
        {true, {0, 1, 2, X}, "the end dropped with a rejection", "3 garbage\nsent 6\n"},
        {false, {0, 1, 2, X, 4, 5, 6, X, 8, 10, 11}, "a record skipped without a rejection"},
        {false, {0, 1, 2, 4, 5, 6}, "a bad line skipped without a rejection"},
        {false, {0, 1, X, 4, 5, 6, X, 8, 9, 10, 11}, "a reopen after which came a record"},
        {false, {0, 1, 2, X, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, "a line shown again after a reopen"},
        {false, {0, 1, 2, X, 4, 5, 6, X, 8, 9}, "the end never read"},
        {false, {0, 1, 2, 3}, "a garbage line shown as a record"},
        {false, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11, 12}, "a line that was never sent"},
        {false, {-2, 0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, "a reading that names no line"},
        {false, {X}, "nothing read"},
        {false, {0, 1, 2, X}, "no end in the journal", "3 garbage\n"},
    };
    for (const auto& c : cases) {
        const QStringList faults = judgeFlood(FloodJournal(c.journal), c.events);
        EXPECT_EQ(faults.isEmpty(), c.sound) << c.name << ": " << faults.join('\n').toStdString();
    }
}

// Line k of each log should be dated "Dk".
TEST(SoakVerdict, LogFaultsAreEveryLostRepeatedOrMisplacedSample) {
    // Only its first column is judged.
    const QString header = QStringLiteral("Date-Time\tConductivity [mS/cm]\tPressure [dbar]\r\n");
    const auto line = [](int k, const char* pressure) {
        return QStringLiteral("D%1\t35.008\t%2\t15.500\t34.9000\t1506.66\r\n").arg(k).arg(pressure);
    };
    const struct {
        const char* name;
        QString text;
        qint64 samples;
        bool sound;
    } cases[] = {
        {"every sample", header + line(1, "0.50") + line(2, "0.50") + line(3, "0.75"), 3, true},
        {"header alone", header, 0, true},
        {"a sample lost", header + line(1, "0.50") + line(3, "0.75"), 3, false},
        {"the last samples lost", header + line(1, "0.50"), 3, false},
        {"a sample twice", header + line(1, "0.50") + line(1, "0.50") + line(2, "0.75"), 2, false},
        {"samples swapped", header + line(2, "0.50") + line(1, "0.50"), 2, false},
        {"pressure falling", header + line(1, "0.75") + line(2, "0.50"), 2, false},
        {"a field missing", header + "D1\t35.008\t0.50\r\n", 1, false},
        {"no line end at the end", header + line(1, "0.50").chopped(2), 1, false},
        {"no header", line(1, "0.50"), 1, false},
    };
    for (const auto& c : cases) {
        const QStringList faults = judgeLog(
            c.text, c.samples, [](qint64 k) { return QStringLiteral("D%1").arg(k); }, QLocale::c());
        EXPECT_EQ(faults.isEmpty(), c.sound) << c.name << ": " << faults.join('\n').toStdString();
    }
}

}  // namespace
