#include "support/soak_verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace test_support;

// Lines 0 to 11; 3 is garbage, 7 noise, 9 an over-long record.
const QByteArray kJournal = "3 garbage\n7 noise\n9 long\nsent 12\n";
constexpr qint64 X = kReopen;

struct Flood {
    const char* name;
    QByteArray journal;
    WindowEvents events;
    bool sound;
};

const Flood kFloods[] = {
    {"EveryRecordRead", kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, true},
    {"LinesBeforeThePortOpenedMissed", kJournal, {1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, true},
    {"RecordsAfterARejectedLineDropped", kJournal, {0, 1, 2, X, 5, 6, X, 10, 11}, true},
    {"RejectionsInARowWhileDropping", kJournal, {0, 1, 2, X, X, 8, 9, 10, 11}, true},
    {"TheEndDroppedWithARejection", "3 garbage\nsent 6\n", {0, 1, 2, X}, true},
    {"ARecordSkippedWithoutARejection", kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 10, 11}, false},
    {"ABadLineSkippedWithoutARejection", kJournal, {0, 1, 2, 4, 5, 6}, false},
    {"AReopenAfterWhichCameARecord", kJournal, {0, 1, X, 4, 5, 6, X, 8, 9, 10, 11}, false},
    {"ALineShownAgainAfterAReopen", kJournal, {0, 1, 2, X, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, false},
    {"TheEndNeverRead", kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9}, false},
    {"AGarbageLineShownAsARecord", kJournal, {0, 1, 2, 3}, false},
    {"ALineThatWasNeverSent", kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11, 12}, false},
    {"AReadingThatNamesNoLine", kJournal, {-2, 0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}, false},
    {"NothingRead", kJournal, {X}, false},
    {"NoEndInTheJournal", "3 garbage\n", {0, 1, 2, X}, false},
};

class FloodVerdictCases : public ::testing::TestWithParam<Flood> {};

TEST_P(FloodVerdictCases, AcceptOnlyLossesThatWentWithARejection) {
    const QStringList faults =
        judgeFlood(FloodJournal::parse(GetParam().journal), GetParam().events);
    EXPECT_EQ(faults.isEmpty(), GetParam().sound) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Soak, FloodVerdictCases, ::testing::ValuesIn(kFloods),
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

const Log kLogs[] = {
    {"EverySample", kHeader + line(1, "0.50") + line(2, "0.50") + line(3, "0.75"), 3, true},
    {"HeaderAlone", kHeader, 0, true},
    {"ASampleLost", kHeader + line(1, "0.50") + line(3, "0.75"), 3, false},
    {"TheLastSamplesLost", kHeader + line(1, "0.50"), 3, false},
    {"ASampleTwice", kHeader + line(1, "0.50") + line(1, "0.50") + line(2, "0.75"), 2, false},
    {"SamplesSwapped", kHeader + line(2, "0.50") + line(1, "0.50"), 2, false},
    {"PressureFalling", kHeader + line(1, "0.75") + line(2, "0.50"), 2, false},
    {"AFieldMissing", kHeader + "D1\t35.008\t0.50\r\n", 1, false},
    {"NoLineEndAtTheEnd", kHeader + line(1, "0.50").chopped(2), 1, false},
    {"NoHeader", line(1, "0.50"), 1, false},
};

class LogVerdictCases : public ::testing::TestWithParam<Log> {};

TEST_P(LogVerdictCases, HoldEverySampleOnceInOrder) {
    const QStringList faults = judgeLog(
        GetParam().text, GetParam().samples, [](qint64 k) { return QStringLiteral("D%1").arg(k); },
        QLocale::c());
    EXPECT_EQ(faults.isEmpty(), GetParam().sound) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Soak, LogVerdictCases, ::testing::ValuesIn(kLogs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
