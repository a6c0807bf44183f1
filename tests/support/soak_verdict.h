#pragma once

#include <QByteArray>
#include <QLocale>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>

// What the soak judges once its flood has ended.
namespace test_support {

// The simulated instrument's journal: line n (from 0) is an ordinary record unless the journal
// names it "garbage", "noise" or "long" (an over-long record, still a record).
struct FloodJournal {
    std::map<qint64, QByteArray> kinds;
    std::optional<qint64> sent;  // lines sent in full, once sending has ended

    static FloodJournal parse(QByteArrayView text);
    bool isRecord(qint64 n) const;
};

// What the window did, in order: the number of each line whose reading it showed, or kReopen
// when it reopened its port after a bad record.
using WindowEvents = std::deque<qint64>;
constexpr qint64 kReopen = -1;

struct FloodVerdict {
    qint64 read = 0;
    qint64 rejected = 0;
    qint64 discarded = 0;  // records dropped with the unread text after a bad one
    QStringList faults;
};

// A record is missed unless it went with a rejection: the reader reads every record in order;
// a bad record makes it drop what it holds and reopen, and the first record it then reads is the
// first one framed by two line ends in what arrives next. So between two reopens the lines read
// follow one another without a gap, the line after the last of them is the bad record that
// caused the reopen, and only the lines between that and the next read may be lost.
FloodVerdict judgeFlood(const FloodJournal& journal, const WindowEvents& events);

// The faults of a log written with a clock that moves one second per sample: after the header
// it must hold exactly `samples` lines, line k (from 1) dated dateOf(k), so that a lost, repeated
// or reordered sample shows. Readings only grow in the flood, so the pressure column (the third,
// in the given locale) never falls either.
QStringList judgeLog(const QString& text, qint64 samples,
                     const std::function<QString(qint64 k)>& dateOf, const QLocale& locale);

}  // namespace test_support
