#include "support/soak_verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace test_support;

// Lines 0 to 11; 3 is garbage, 7 noise, 9 an over-long record.
const QByteArray kJournal = "3 garbage\n7 noise\n9 long\nsent 12\n";

// "0-2 X 4" reads lines 0 to 2, reopens, reads line 4.
WindowEvents events(const char* script) {
    WindowEvents done;
    for (const QByteArray& step : QByteArray(script).split(' ')) {
        if (step == "X") {
            done.push_back(kReopen);
            continue;
        }
        const QList<QByteArray> range = step.split('-');
        for (qint64 n = range.front().toLongLong(); n <= range.back().toLongLong(); ++n) {
            done.push_back(n);
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

class FloodVerdictCases : public ::testing::TestWithParam<Flood> {};

TEST_P(FloodVerdictCases, AcceptOnlyLossesThatWentWithARejection) {
    const auto verdict =
        judgeFlood(FloodJournal::parse(GetParam().journal), events(GetParam().events));
    EXPECT_EQ(verdict.faults.isEmpty(), GetParam().sound)
        << verdict.faults.join('\n').toStdString();
    if (GetParam().sound) {
        EXPECT_EQ(verdict.discarded, GetParam().discarded);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Soak, FloodVerdictCases,
    ::testing::Values(
        Flood{"EveryRecordRead", kJournal, "0-2 X 4-6 X 8-11", true, 0},
        Flood{"LinesBeforeThePortOpenedMissed", kJournal, "1-2 X 4-6 X 8-11", true, 0},
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

const QString kHeader = QStringLiteral(
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [°C]\tSalinity [psu]\t"
    "Sound Velocity [m/s]\r\n");

QString line(int k, const char* pressure) {
    return QStringLiteral("D%1\t35.008\t%2\t15.500\t34.9000\t1506.66\r\n")
        .arg(k)
        .arg(QLatin1String(pressure));
}

struct Log {
    const char* name;
    QString text;
    qint64 samples;
    bool sound;
};

class LogVerdictCases : public ::testing::TestWithParam<Log> {};

TEST_P(LogVerdictCases, HoldEverySampleOnceInOrder) {
    const QStringList faults = judgeLog(
        GetParam().text, GetParam().samples, [](qint64 k) { return QStringLiteral("D%1").arg(k); },
        QLocale::c());
    EXPECT_EQ(faults.isEmpty(), GetParam().sound) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Soak, LogVerdictCases,
    ::testing::Values(Log{"EverySample",
                          kHeader + line(1, "0.50") + line(2, "0.50") + line(3, "0.75"), 3, true},
                      Log{"HeaderAlone", kHeader, 0, true},
                      Log{"ASampleLost", kHeader + line(1, "0.50") + line(3, "0.75"), 3, false},
                      Log{"TheLastSamplesLost", kHeader + line(1, "0.50"), 3, false},
                      Log{"ASampleTwice",
                          kHeader + line(1, "0.50") + line(1, "0.50") + line(2, "0.75"), 2, false},
                      Log{"SamplesSwapped", kHeader + line(2, "0.50") + line(1, "0.50"), 2, false},
                      Log{"PressureFalling", kHeader + line(1, "0.75") + line(2, "0.50"), 2, false},
                      Log{"AFieldMissing", kHeader + "D1\t35.008\t0.50\r\n", 1, false},
                      Log{"NoLineEndAtTheEnd", kHeader + line(1, "0.50").chopped(2), 1, false},
                      Log{"NoHeader", line(1, "0.50"), 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
