#include "support/flood_verdict.h"

#include <QString>

namespace test_support {

FloodJournal FloodJournal::parse(QByteArrayView text) {
    FloodJournal journal;
    for (const QByteArray& entry : text.toByteArray().split('\n')) {
        const QList<QByteArray> words = entry.split(' ');
        if (words.size() != 2) {
            continue;
        }
        bool ok = false;
        if (words[0] == "sent") {
            const qint64 sent = words[1].toLongLong(&ok);
            if (ok) {
                journal.sent = sent;
            }
            continue;
        }
        const qint64 n = words[0].toLongLong(&ok);
        if (ok) {
            journal.kinds[n] = words[1];
        }
    }
    return journal;
}

bool FloodJournal::isRecord(qint64 n) const {
    const auto found = kinds.find(n);
    return found == kinds.end() || found->second == "long";
}

qint64 FloodJournal::count(const char* kind) const {
    qint64 found = 0;
    for (const auto& [n, name] : kinds) {
        found += name == kind ? 1 : 0;
    }
    return found;
}

void WindowEvents::read(qint64 line) {
    if (!events_.empty() && events_.back().kind == WindowEvent::Kind::Read &&
        events_.back().last + 1 == line) {
        events_.back().last = line;
    } else {
        events_.push_back({WindowEvent::Kind::Read, line, line});
    }
}

void WindowEvents::reopen() {
    events_.push_back({WindowEvent::Kind::Reopen});
}

namespace {

class Judge {
public:
    explicit Judge(const FloodJournal& journal)
        : journal_(journal), sent_(journal.sent.value_or(0)) {}

    void read(qint64 n) {
        ++verdict_.read;
        const auto kind = journal_.kinds.find(n);
        verdict_.longRead += kind != journal_.kinds.end() && kind->second == "long" ? 1 : 0;
        if (n < 0 || n >= sent_ || !journal_.isRecord(n)) {
            fault(QStringLiteral("line %1 was shown, but no such record was sent").arg(n));
        }
        if (last_ < 0) {
            verdict_.beforeFirstRead = n;
        } else if (n <= last_) {
            fault(QStringLiteral("line %1 was shown after line %2").arg(n).arg(last_));
        } else if (discardFrom_ >= 0) {
            closeDiscard(n);
        } else if (n != last_ + 1) {
            fault(QStringLiteral("lines %1 to %2 were lost without a bad record before them")
                      .arg(last_ + 1)
                      .arg(n - 1));
        }
        last_ = n;
        discardFrom_ = -1;
    }

    void reopen() {
        ++verdict_.rejected;
        if (last_ < 0 || discardFrom_ >= 0) {
            return;  // still in the text dropped at the reopen before
        }
        const qint64 bad = last_ + 1;
        if (bad >= sent_ || journal_.isRecord(bad)) {
            fault(QStringLiteral("the port was reopened after line %1, but line %2 was a record")
                      .arg(last_)
                      .arg(bad));
        }
        discardFrom_ = bad + 1;
    }

    FloodVerdict finish() {
        if (!journal_.sent) {
            fault(QStringLiteral("the journal does not say how many lines were sent"));
        }
        if (last_ < 0) {
            fault(QStringLiteral("no record was read"));
        } else if (discardFrom_ >= 0) {
            closeDiscard(sent_);
        } else if (last_ + 1 < sent_) {
            fault(QStringLiteral("lines %1 to %2 at the end were never read")
                      .arg(last_ + 1)
                      .arg(sent_ - 1));
        }
        return verdict_;
    }

private:
    // Lines from discardFrom_ up to `end` went with the rejection.
    void closeDiscard(qint64 end) {
        verdict_.widestDiscard = std::max(verdict_.widestDiscard, end - discardFrom_);
        for (qint64 n = discardFrom_; n < end; ++n) {
            verdict_.discarded += journal_.isRecord(n) ? 1 : 0;
        }
    }

    void fault(const QString& text) {
        // The first few tell the story; a broken reader would otherwise print thousands.
        constexpr qsizetype kShown = 20;
        if (verdict_.faults.size() < kShown) {
            verdict_.faults.append(text);
        } else if (verdict_.faults.size() == kShown) {
            verdict_.faults.append(QStringLiteral("and more"));
        }
    }

    const FloodJournal& journal_;
    qint64 sent_;
    qint64 last_ = -1;
    qint64 discardFrom_ = -1;
    FloodVerdict verdict_;
};

}  // namespace

FloodVerdict judgeFlood(const FloodJournal& journal, const WindowEvents& events) {
    Judge judge(journal);
    for (const WindowEvent& event : events.all()) {
        if (event.kind == WindowEvent::Kind::Read) {
            for (qint64 n = event.first; n <= event.last; ++n) {
                judge.read(n);
            }
        } else {
            judge.reopen();
        }
    }
    return judge.finish();
}

}  // namespace test_support
