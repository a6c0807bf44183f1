#include "support/log_verdict.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

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

void PrintTo(const Log& log, std::ostream* os) {
    *os << log.name;
}

class Logs : public ::testing::TestWithParam<Log> {};

TEST_P(Logs, HoldEverySampleOnceInOrder) {
    const auto verdict = test_support::judgeLog(
        GetParam().text, GetParam().samples, [](qint64 k) { return QStringLiteral("D%1").arg(k); },
        QLocale::c());
    EXPECT_EQ(verdict.faults.isEmpty(), GetParam().sound)
        << verdict.faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Logs,
    ::testing::Values(Log{"EverySample",
                          kHeader + line(1, "0.50") + line(2, "0.50") + line(3, "0.75"), 3, true},
                      Log{"HeaderAlone", kHeader, 0, true},
                      Log{"ASampleLost", kHeader + line(1, "0.50") + line(3, "0.75"), 3, false},
                      Log{"TheLastSamplesLost", kHeader + line(1, "0.50"), 3, false},
                      Log{"ASampleTwice",
                          kHeader + line(1, "0.50") + line(1, "0.50") + line(2, "0.75"), 2, false},
                      Log{"SamplesSwapped", kHeader + line(2, "0.50") + line(1, "0.50"), 2, false},
                      Log{"PressureFalling", kHeader + line(1, "0.75") + line(2, "0.50"), 2, false},
                      Log{"NoLineEndAtTheEnd", kHeader + line(1, "0.50").chopped(2), 1, false},
                      Log{"NoHeader", line(1, "0.50"), 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
