#pragma once

#include <QByteArray>
#include <QLocale>
#include <QStringList>
#include <deque>
#include <functional>
#include <set>

#include "platform/number_text.h"

// What the soak judges once its flood has ended.
namespace test_support {

// The simulated instrument's journal: line n (from 0) is an ordinary record unless the journal
// names it "garbage", "noise" or "long" (an over-long record, still a record).
struct FloodJournal {
    std::set<qint64> notRecords;
    qint64 sent = 0;  // lines sent in full, once sending has ended

    explicit FloodJournal(const QByteArray& text) {
        for (const QByteArray& entry : text.split('\n')) {
            const QList<QByteArray> words = entry.split(' ');
            if (words.size() == 2 && words[0] == "sent") {
                sent = words[1].toLongLong();
            } else if (words.size() == 2 && words[1] != "long") {
                notRecords.insert(words[0].toLongLong());
            }
        }
    }
    bool isRecord(qint64 n) const { return !notRecords.contains(n); }
};

// What the window did, in order: the number of each line whose reading it showed, or kReopen
// when it reopened its port after a bad record.
using WindowEvents = std::deque<qint64>;
constexpr qint64 kReopen = -1;

// The faults of a flood. A record is missed unless it went with a rejection: the reader reads
// every record in order; a bad record makes it drop what it holds and reopen, and the first record
// it then reads is the first one framed by two line ends in what arrives next. So between two
// reopens the lines read follow one another without a gap, the line after the last of them is the
// bad record that caused the reopen, and only the lines between that and the next read may be
// lost.
inline QStringList judgeFlood(const FloodJournal& journal, const WindowEvents& events) {
    QStringList faults;
    qint64 last = -1;
    bool dropping = false;  // after a reopen, until the next read
    for (const qint64 n : events) {
        if (n == kReopen) {
            if (last >= 0 && !dropping &&
                (last + 1 >= journal.sent || journal.isRecord(last + 1))) {
                faults.append(QStringLiteral("needless reopen after line %1").arg(last));
            }
            dropping = last >= 0;
            continue;
        }
        if (n < 0 || n >= journal.sent || !journal.isRecord(n)) {
            faults.append(QStringLiteral("line %1 shown, but no such record sent").arg(n));
        }
        if (last >= 0 && n <= last) {
            faults.append(QStringLiteral("line %1 shown after line %2").arg(n).arg(last));
        } else if (last >= 0 && !dropping && n != last + 1) {
            faults.append(QStringLiteral("lines %1 to %2 lost").arg(last + 1).arg(n - 1));
        }
        last = n;
        dropping = false;
    }
    if (!dropping && last + 1 < journal.sent) {
        faults.append(
            QStringLiteral("never read: lines %1 to %2").arg(last + 1).arg(journal.sent - 1));
    }
    return faults;
}

// The faults of a log written with a clock that moves one second per sample: after the header
// it must hold exactly `samples` lines, line k (from 1) dated dateOf(k), so that a lost, repeated
// or reordered sample shows. Readings only grow in the flood, so the pressure column (the third,
// in the given locale) never falls either.
inline QStringList judgeLog(const QString& text, qint64 samples,
                            const std::function<QString(qint64 k)>& dateOf, const QLocale& locale) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.takeFirst().startsWith(QStringLiteral("Date-Time\t"))) {
        return {QStringLiteral("the file does not begin with the header")};
    }
    QStringList faults;
    if (lines.isEmpty() || !lines.takeLast().isEmpty()) {
        faults.append(QStringLiteral("the last line has no CR LF"));
    }
    if (lines.size() != samples) {
        faults.append(QStringLiteral("%1 lines for %2 samples").arg(lines.size()).arg(samples));
    }
    double pressure = 0;
    for (qint64 k = 1; k <= lines.size(); ++k) {
        const QStringList fields = lines[k - 1].split(u'\t');
        const auto shown =
            fields.size() == 6 ? number_text::parse(fields[2], locale) : std::nullopt;
        if (!shown || fields[0] != dateOf(k) || *shown < pressure) {
            return faults << QStringLiteral("line %1 not sample %1 or its pressure fell: %2")
                                 .arg(k)
                                 .arg(lines[k - 1]);
        }
        pressure = *shown;
    }
    return faults;
}

}  // namespace test_support
