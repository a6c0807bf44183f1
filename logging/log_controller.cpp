#include "logging/log_controller.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include "logging/log_status.h"
#include "platform/timer.h"

LogController::LogController(std::shared_ptr<TextFiles> files, Clock clock, ValueSource values,
                             QObject* parent)
    : QObject(parent),
      files_(std::move(files)),
      clock_(std::move(clock)),
      values_(std::move(values)),
      writer_(*files_),
      Timer2(new Timer(QStringLiteral("Timer2"), 1000, this)) {
    connect(Timer2, &Timer::tick, this, &LogController::takeSample);
}

FileResult LogController::create(const QString& path) {
    return startIn(path, writer_.createFile(path));
}

FileResult LogController::resume(const QString& path) {
    return startIn(path, writer_.continueFile(path));
}

FileResult LogController::startIn(const QString& path, const FileResult& prepared) {
    if (prepared.ok()) {
        file_ = path;
        Timer2->setEnabled(true);
    }
    showState();
    return prepared;
}

void LogController::setInterval(int ms) {
    Timer2->setInterval(ms);
}

void LogController::takeSample() {
    writer_.addSample(logLine(clock_(), values_(), logTime_), file_);
    emit sampled(writer_.samples());
    showState();
}

FileResult LogController::writeWaiting() {
    const FileResult result = writer_.writeWaiting(file_);
    showState();
    return result;
}

void LogController::stop() {
    Timer2->setEnabled(false);
}

FileResult LogController::saveWaitingAs(const QString& path) {
    return writer_.saveWaitingAs(path);
}

LogController::Recovery LogController::saveToRecoveryFile(const QString& reason) {
    const QString waiting = QString::number(writer_.waitingLines());
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    Recovery recovery;
    recovery.path = folder.filePath(QStringLiteral("unwritten-log-%1.txt").arg(stamp));
    for (int n = 2; files_->exists(recovery.path); ++n) {
        recovery.path =
            folder.filePath(QStringLiteral("unwritten-log-%1-%2.txt").arg(stamp).arg(n));
    }
    recovery.what = QStringLiteral("%1 logged lines could not be written to the log file %2 (%3)")
                        .arg(waiting, QDir::toNativeSeparators(file_), reason);
    const FileResult saved = files_->makeFolder(folder.path())
                                 ? writer_.saveWaitingAs(recovery.path)
                                 : FileResult(QStringLiteral("its folder cannot be created"));
    const QString where = QDir::toNativeSeparators(recovery.path);
    if (!saved.ok()) {
        recovery.told = QStringLiteral("%1 nor to %2 (%3); they are lost.")
                            .arg(recovery.what, where, saved.error());
        return recovery;
    }
    recovery.saved = true;
    recovery.told = recovery.what + QStringLiteral(" and were saved to ") + where;
    return recovery;
}

void LogController::showState() {
    const ConnectionState state = logState(writer_);
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}
