#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <deque>
#include <map>
#include <optional>

namespace test_support {

// The lines a simulated instrument sent, from its journal: line n (from 0) is an ordinary record
// unless the journal names it "garbage", "noise" or "long" (an over-long record).
struct FloodJournal {
    std::map<qint64, QByteArray> kinds;
    std::optional<qint64> sent;  // lines sent in full, once sending has ended

    static FloodJournal parse(QByteArrayView text);
    // Ordinary and over-long records; garbage and noise are not.
    bool isRecord(qint64 n) const;
    qint64 count(const char* kind) const;
};

// What the window did with the flood, in order: it showed the readings of lines `first` to
// `last`, one after the other, or it reopened its port after a bad record.
struct WindowEvent {
    enum class Kind { Read, Reopen };
    Kind kind;
    qint64 first = -1;
    qint64 last = -1;
};

// The window's doings as they come, kept as runs of lines read one after the other, so that a
// long run holds little memory: a few dozen bytes per rejection, in small blocks rather than one
// block that doubles now and then.
class WindowEvents {
public:
    void read(qint64 line);
    void reopen();
    const std::deque<WindowEvent>& all() const { return events_; }
    // What the record itself takes, for a memory measurement that leaves it out.
    qint64 bytes() const { return static_cast<qint64>(events_.size() * sizeof(WindowEvent)); }

private:
    std::deque<WindowEvent> events_;
};

struct FloodVerdict {
    qint64 read = 0;
    qint64 longRead = 0;
    qint64 rejected = 0;
    qint64 beforeFirstRead = 0;  // lines sent before the first one read, while the port opened
    // Records dropped with the unread rest of the text after a bad record, and the widest such
    // stretch in lines.
    qint64 discarded = 0;
    qint64 widestDiscard = 0;
    QStringList faults;
};

// A record is missed unless it went with a rejection: the reader reads every record in order;
// a bad record makes it drop what it holds and reopen, and the first record it then reads is the
// first one framed by two line ends in what arrives next. So between two reopens the lines read
// follow one another without a gap, the line after the last of them is the bad record that
// caused the reopen, and only the lines between that and the next read may be lost.
FloodVerdict judgeFlood(const FloodJournal& journal, const WindowEvents& events);

}  // namespace test_support
