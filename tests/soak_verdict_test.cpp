#include "support/soak_verdict.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using namespace test_support;
using Faults = std::function<QStringList()>;

// Lines 0 to 11; 3 is garbage, 7 noise, 9 an over-long record.
const QByteArray kJournal = "3 garbage\n7 noise\n9 long\nsent 12\n";
constexpr qint64 X = kReopen;

Faults flood(const QByteArray& journal, const WindowEvents& events) {
    return [=] { return judgeFlood(FloodJournal::parse(journal), events); };
}

const QString kHeader = QStringLiteral(
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [°C]\tSalinity [psu]\t"
    "Sound Velocity [m/s]\r\n");

QString line(int k, const char* pressure) {
    return QStringLiteral("D%1\t35.008\t%2\t15.500\t34.9000\t1506.66\r\n")
        .arg(k)
        .arg(QLatin1String(pressure));
}

// A log whose line k should be dated "Dk".
Faults logFile(const QString& text, qint64 samples) {
    return [=] {
        return judgeLog(
            text, samples, [](qint64 k) { return QStringLiteral("D%1").arg(k); }, QLocale::c());
    };
}

struct Verdict {
    const char* name;
    Faults faults;
    bool sound;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Verdict& verdict, std::ostream* os) {
    *os << verdict.name;
}

const Verdict kVerdicts[] = {
    {"EveryRecordRead", flood(kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}), true},
    {"LinesBeforeThePortOpenedMissed", flood(kJournal, {1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}), true},
    {"RecordsAfterARejectedLineDropped", flood(kJournal, {0, 1, 2, X, 5, 6, X, 10, 11}), true},
    {"RejectionsInARowWhileDropping", flood(kJournal, {0, 1, 2, X, X, 8, 9, 10, 11}), true},
    {"TheEndDroppedWithARejection", flood("3 garbage\nsent 6\n", {0, 1, 2, X}), true},
    {"ARecordSkippedWithoutARejection", flood(kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 10, 11}),
     false},
    {"ABadLineSkippedWithoutARejection", flood(kJournal, {0, 1, 2, 4, 5, 6}), false},
    {"AReopenAfterWhichCameARecord", flood(kJournal, {0, 1, X, 4, 5, 6, X, 8, 9, 10, 11}), false},
    {"ALineShownAgainAfterAReopen", flood(kJournal, {0, 1, 2, X, 2, X, 4, 5, 6, X, 8, 9, 10, 11}),
     false},
    {"TheEndNeverRead", flood(kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9}), false},
    {"AGarbageLineShownAsARecord", flood(kJournal, {0, 1, 2, 3}), false},
    {"ALineThatWasNeverSent", flood(kJournal, {0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11, 12}), false},
    {"AReadingThatNamesNoLine", flood(kJournal, {-2, 0, 1, 2, X, 4, 5, 6, X, 8, 9, 10, 11}), false},
    {"NothingRead", flood(kJournal, {X}), false},
    {"NoEndInTheJournal", flood("3 garbage\n", {0, 1, 2, X}), false},
    {"EverySample", logFile(kHeader + line(1, "0.50") + line(2, "0.50") + line(3, "0.75"), 3),
     true},
    {"HeaderAlone", logFile(kHeader, 0), true},
    {"ASampleLost", logFile(kHeader + line(1, "0.50") + line(3, "0.75"), 3), false},
    {"TheLastSamplesLost", logFile(kHeader + line(1, "0.50"), 3), false},
    {"ASampleTwice", logFile(kHeader + line(1, "0.50") + line(1, "0.50") + line(2, "0.75"), 2),
     false},
    {"SamplesSwapped", logFile(kHeader + line(2, "0.50") + line(1, "0.50"), 2), false},
    {"PressureFalling", logFile(kHeader + line(1, "0.75") + line(2, "0.50"), 2), false},
    {"AFieldMissing", logFile(kHeader + "D1\t35.008\t0.50\r\n", 1), false},
    {"NoLineEndAtTheEnd", logFile(kHeader + line(1, "0.50").chopped(2), 1), false},
    {"NoHeader", logFile(line(1, "0.50"), 1), false},
};

class SoakVerdict : public ::testing::TestWithParam<Verdict> {};

TEST_P(SoakVerdict, FindsEveryLostOrMisplacedLineAndNothingElse) {
    const QStringList faults = GetParam().faults();
    EXPECT_EQ(faults.isEmpty(), GetParam().sound) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, SoakVerdict, ::testing::ValuesIn(kVerdicts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
