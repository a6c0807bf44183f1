#include "logging/log_status.h"

#include <QDir>

// The short texts fit the narrow label beside the sampling interval; the details go to its
// tooltip.
std::optional<LogWriter::Busy> toldDiskWait(const LogWriter& writer, qint64 nowMs) {
    std::optional<LogWriter::Busy> busy = writer.busy();
    if (busy && nowMs - busy->sinceMs < kDiskWaitToldMs) {
        busy.reset();
    }
    return busy;
}

ConnectionState logState(const LogWriter& writer, qint64 nowMs) {
    ConnectionState status;
    if (const std::optional<LogWriter::Busy> busy = toldDiskWait(writer, nowMs)) {
        const QString waiting = QDir::toNativeSeparators(busy->path);
        const QString seconds = QString::number((nowMs - busy->sinceMs) / 1000);
        status.kind = ConnectionState::Kind::Failed;
        status.brief = QStringLiteral("Log waiting for the disk (%1 s): %2").arg(seconds, waiting);
        status.detail = QStringLiteral(
                            "The log file %1 has not answered for %2 s. %3 lines wait in memory "
                            "and go to the file, in order, once it answers.")
                            .arg(waiting, seconds, QString::number(writer.waitingLines()));
        return status;
    }
    const QString file = QDir::toNativeSeparators(writer.failingFile());
    if (!writer.failing() && !writer.recovered() && !writer.recreated() &&
        writer.droppedLines() == 0) {
        return status;
    }
    const qint64 dropped = writer.droppedLines();
    const QString lost = QString::number(dropped);
    if (writer.failing()) {
        status.kind = ConnectionState::Kind::Failed;
        const QString failing = dropped > 0 ? QStringLiteral("Failing, %1 lost").arg(lost)
                                            : QStringLiteral("Log failing!");
        status.brief = QStringLiteral("%1 %2: %3").arg(failing, writer.lastError(), file);
        status.detail = QStringLiteral(
                            "The log file %1 cannot be written (%2). %3 lines wait in "
                            "memory and go to the file once it can be written again.")
                            .arg(file, writer.lastError(), QString::number(writer.waitingLines()));
    } else if (writer.recreated()) {
        status.kind = ConnectionState::Kind::Connected;
        status.brief = QStringLiteral("Log re-created");
        status.detail = QStringLiteral(
            "The log file had vanished. It was created again with its header, and the lines "
            "not yet written went into it; what the vanished file held is not in it.");
    } else {
        status.kind = ConnectionState::Kind::Connected;
        status.brief = dropped > 0 ? QStringLiteral("OK again, %1 lost").arg(lost)
                                   : QStringLiteral("Log writes again");
        status.detail = QStringLiteral(
            "The log file is written again; every waiting line "
            "reached it.");
    }
    status.losses = dropped > 0;
    if (dropped > 0) {
        status.detail += QStringLiteral(
                             " %1 of the oldest lines were lost while the file could "
                             "not be written.")
                             .arg(lost);
    }
    return status;
}
