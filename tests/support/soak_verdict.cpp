#include "support/soak_verdict.h"

#include "platform/number_text.h"

namespace test_support {

FloodJournal FloodJournal::parse(QByteArrayView text) {
    FloodJournal journal;
    for (const QByteArray& entry : text.toByteArray().split('\n')) {
        const QList<QByteArray> words = entry.split(' ');
        bool ok = false;
        const bool end = words[0] == "sent";
        const qint64 number = words.size() == 2 ? words[end ? 1 : 0].toLongLong(&ok) : 0;
        if (ok && end) {
            journal.sent = number;
        } else if (ok) {
            journal.kinds[number] = words[1];
        }
    }
    return journal;
}

bool FloodJournal::isRecord(qint64 n) const {
    const auto found = kinds.find(n);
    return found == kinds.end() || found->second == "long";
}

FloodVerdict judgeFlood(const FloodJournal& journal, const WindowEvents& events) {
    FloodVerdict verdict;
    // The first few tell the story; a broken reader would otherwise give thousands.
    const auto fault = [&](const QString& text) {
        if (verdict.faults.size() < 20) {
            verdict.faults.append(text);
        }
    };
    const qint64 sent = journal.sent.value_or(0);
    qint64 last = -1;
    qint64 droppedFrom = -1;  // after a reopen, the first line that may have gone with it
    const auto drop = [&](qint64 end) {
        for (qint64 n = droppedFrom; n < end; ++n) {
            verdict.discarded += journal.isRecord(n) ? 1 : 0;
        }
    };
    for (const qint64 n : events) {
        if (n == kReopen) {
            ++verdict.rejected;
            if (last >= 0 && droppedFrom < 0) {
                if (last + 1 >= sent || journal.isRecord(last + 1)) {
                    fault(
                        QStringLiteral("reopened after line %1, but a record came next").arg(last));
                }
                droppedFrom = last + 2;
            }
            continue;
        }
        ++verdict.read;
        if (n < 0 || n >= sent || !journal.isRecord(n)) {
            fault(QStringLiteral("line %1 shown, but no such record sent").arg(n));
        }
        if (last >= 0 && n <= last) {
            fault(QStringLiteral("line %1 shown after line %2").arg(n).arg(last));
        } else if (droppedFrom >= 0) {
            drop(n);
        } else if (last >= 0 && n != last + 1) {
            fault(
                QStringLiteral("lost with no bad line before: %1 to %2").arg(last + 1).arg(n - 1));
        }
        last = n;
        droppedFrom = -1;
    }
    if (!journal.sent) {
        fault(QStringLiteral("the journal does not say how many lines it sent"));
    }
    if (last < 0) {
        fault(QStringLiteral("no record was read"));
    } else if (droppedFrom >= 0) {
        drop(sent);
    } else if (last + 1 < sent) {
        fault(QStringLiteral("never read: lines %1 to %2").arg(last + 1).arg(sent - 1));
    }
    return verdict;
}

QStringList judgeLog(const QString& text, qint64 samples,
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
            faults.append(QStringLiteral("line %1 not sample %1 or its pressure fell: %2")
                              .arg(k)
                              .arg(lines[k - 1]));
            break;
        }
        pressure = *shown;
    }
    return faults;
}

}  // namespace test_support
