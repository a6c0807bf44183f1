#include "support/flood_verdict.h"

#include <gtest/gtest.h>

#include <QList>
#include <ostream>
#include <string>

namespace {

using test_support::FloodJournal;
using test_support::judgeFlood;
using test_support::WindowEvents;

// Lines 0 to 11; 3 is garbage, 7 noise, 9 an over-long record.
const QByteArray kJournal = "3 garbage\n7 noise\n9 long\nsent 12\n";

// "0-2 X 4" reads lines 0 to 2, reopens, reads line 4.
WindowEvents events(const char* script) {
    WindowEvents done;
    for (const QByteArray& step : QByteArray(script).split(' ')) {
        if (step == "X") {
            done.reopen();
            continue;
        }
        const QList<QByteArray> range = step.split('-');
        const qint64 first = range.front().toLongLong();
        for (qint64 n = first; n <= range.back().toLongLong(); ++n) {
            done.read(n);
        }
    }
    return done;
}

struct Flood {
    const char* name;
    QByteArray journal;
    const char* events;
    bool sound;
    qint64 discarded;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Flood& flood, std::ostream* os) {
    *os << flood.name;
}

class Floods : public ::testing::TestWithParam<Flood> {};

TEST_P(Floods, AcceptOnlyLossesThatWentWithARejection) {
    const auto verdict =
        judgeFlood(FloodJournal::parse(GetParam().journal), events(GetParam().events));
    EXPECT_EQ(verdict.faults.isEmpty(), GetParam().sound)
        << verdict.faults.join('\n').toStdString();
    if (GetParam().sound) {
        EXPECT_EQ(verdict.discarded, GetParam().discarded);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Floods,
    ::testing::Values(
        Flood{"EveryRecordRead", kJournal, "0-2 X 4-6 X 8-11", true, 0},
        Flood{"RecordsAfterARejectedLineDropped", kJournal, "0-2 X 5-6 X 10-11", true, 3},
        Flood{"RejectionsInARowWhileDropping", kJournal, "0-2 X X 8-11", true, 3},
        Flood{"TheEndDroppedWithARejection", "3 garbage\nsent 6\n", "0-2 X", true, 2},
        Flood{"ARecordSkippedWithoutARejection", kJournal, "0-2 X 4-6 X 8 10-11", false, 0},
        Flood{"ABadLineSkippedWithoutARejection", kJournal, "0-2 4-6", false, 0},
        Flood{"AReopenAfterWhichCameARecord", kJournal, "0-1 X 4-6 X 8-11", false, 0},
        Flood{"ALineShownAgain", kJournal, "0-2 X 4-6 5 X 8-11", false, 0},
        Flood{"TheEndNeverRead", kJournal, "0-2 X 4-6 X 8-9", false, 0},
        Flood{"AGarbageLineShownAsARecord", kJournal, "0-3", false, 0},
        Flood{"ALineThatWasNeverSent", kJournal, "0-2 X 4-6 X 8-12", false, 0},
        Flood{"NothingRead", kJournal, "X", false, 0},
        Flood{"NoEndInTheJournal", "3 garbage\n", "0-2 X", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FloodVerdict, CountsWhatWasReadRejectedAndDropped) {
    const auto verdict = judgeFlood(FloodJournal::parse(kJournal), events("1-2 X 5-6 X 8-11"));
    EXPECT_TRUE(verdict.faults.isEmpty());
    EXPECT_EQ(verdict.beforeFirstRead, 1);
    EXPECT_EQ(verdict.read, 8);
    EXPECT_EQ(verdict.longRead, 1);
    EXPECT_EQ(verdict.rejected, 2);
    EXPECT_EQ(verdict.discarded, 1);
    EXPECT_EQ(verdict.widestDiscard, 1);
}

TEST(FloodVerdict, KeepsLinesReadInARowAsOneRun) {
    EXPECT_EQ(events("0-500 X 502-900").all().size(), 3u);
}

TEST(FloodJournal, NamesTheLinesThatAreNotOrdinaryRecords) {
    const FloodJournal journal = FloodJournal::parse(kJournal);
    EXPECT_EQ(journal.sent, 12);
    EXPECT_FALSE(journal.isRecord(3));
    EXPECT_FALSE(journal.isRecord(7));
    EXPECT_TRUE(journal.isRecord(9));
    EXPECT_TRUE(journal.isRecord(10));
    EXPECT_EQ(journal.count("garbage"), 1);
    EXPECT_EQ(journal.count("long"), 1);
}

}  // namespace
