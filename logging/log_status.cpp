#include "logging/log_status.h"

LogStatus logStatus(const LogWriter& writer) {
    LogStatus status;
    if (!writer.failing() && !writer.recovered() && writer.droppedLines() == 0) {
        return status;
    }
    const QString dropped = QString::number(writer.droppedLines());
    if (writer.failing()) {
        status.alarm = true;
        status.text = QStringLiteral("Log failing!");
        status.details = QStringLiteral(
                             "The log file cannot be written (%1). %2 lines wait in "
                             "memory and go to the file once it can be written again.")
                             .arg(writer.lastError(), QString::number(writer.waitingLines()));
    } else {
        status.text = QStringLiteral("Log writes again");
        status.details =
            QStringLiteral("The log file is written again; every waiting line reached it.");
    }
    if (writer.droppedLines() > 0) {
        status.alarm = true;
        status.text += QStringLiteral(", %1 lost").arg(dropped);
        status.details += QStringLiteral(
                              " %1 of the oldest lines were lost while the file could "
                              "not be written.")
                              .arg(dropped);
    }
    return status;
}
