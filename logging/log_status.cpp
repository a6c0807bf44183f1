#include "logging/log_status.h"

#include <QDir>

// The short texts fit the narrow label beside the sampling interval; the details go to its
// tooltip.
std::optional<DiskWait> DiskWaitWatch::told(const std::optional<LogWriter::Busy>& busy,
                                            qint64 nowMs) {
    if (!busy) {
        return std::nullopt;
    }
    if (busy->call != call_) {
        call_ = busy->call;
        sinceMs_ = nowMs;
    }
    if (nowMs - sinceMs_ < kToldAfterMs) {
        return std::nullopt;
    }
    return DiskWait{busy->path, nowMs - sinceMs_};
}

ConnectionState logState(const LogWriter& writer, const std::optional<DiskWait>& wait) {
    ConnectionState status;
    if (wait) {
        const QString waiting = QDir::toNativeSeparators(wait->path);
        const QString seconds = QString::number(wait->ms / 1000);
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
