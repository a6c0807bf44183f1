#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

namespace test_support {

struct LogVerdict {
    qint64 lines = 0;  // data lines in the file
    QStringList faults;
};

// A log file written with a clock that moves one second per sample: after the header it must
// hold exactly `samples` lines, line k (from 1) dated dateOf(k), so that a lost, repeated or
// reordered sample shows. Readings only grow in the flood, so the pressure column (the third,
// in the given locale) never falls either.
LogVerdict judgeLog(const QString& text, qint64 samples,
                    const std::function<QString(qint64 k)>& dateOf, const QLocale& locale);

}  // namespace test_support
