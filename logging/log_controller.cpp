#include "logging/log_controller.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include "logging/daily_file.h"
#include "logging/log_status.h"
#include "platform/timer.h"

LogController::LogController(std::shared_ptr<TextFiles> files, Clock clock, ValueSource values,
                             QObject* parent)
    : QObject(parent),
      files_(std::move(files)),
      clock_(std::move(clock)),
      values_(std::move(values)),
      writer_(*files_),
      Timer2(new Timer(QStringLiteral("Timer2"), 1000, this)),
      log_write(new Timer(QStringLiteral("log_write"), 1000, this)) {
    connect(Timer2, &Timer::tick, this, &LogController::takeSample);
    connect(log_write, &Timer::tick, this, &LogController::writeTick);
}

// A day's file holds what was logged that day already: choosing the log again goes on in it.
FileResult LogController::create(const QString& path) {
    return startIn(path, daily_ ? &LogWriter::continueFile : &LogWriter::createFile);
}

FileResult LogController::resume(const QString& path) {
    return startIn(path, &LogWriter::continueFile);
}

FileResult LogController::startIn(const QString& path,
                                  FileResult (LogWriter::*prepare)(const QString&)) {
    // The clock is asked only when its day names the file.
    const QString target = daily_ ? fileFor(path, clock_()) : path;
    const FileResult prepared = (writer_.*prepare)(target);
    if (prepared.ok()) {
        file_ = path;
        currentFile_ = target;
        writer_.retarget(target);
        Timer2->setEnabled(true);
        log_write->setEnabled(true);
    }
    showState();
    return prepared;
}

QString LogController::fileFor(const QString& path, const QDateTime& when) const {
    if (!daily_) {
        return path;
    }
    return dailyFile(path,
                     logTime_ == LogTime::Utc ? when.toUTC().date() : when.toLocalTime().date());
}

void LogController::setInterval(int ms) {
    Timer2->setInterval(ms);
}

// A new day's file gets its header before its first line; a restart the same day appends to it.
void LogController::takeSample() {
    const QDateTime when = clock_();
    const QString target = fileFor(file_, when);
    if (target != currentFile_) {
        // One that cannot be made ready now is created with the header when its lines go.
        [[maybe_unused]] const FileResult ready = writer_.continueFile(target);
        currentFile_ = target;
    }
    writer_.addSample(logLine(when, values_(), logTime_), currentFile_);
    emit sampled(writer_.samples());
    showState();
}

// A failure is kept in the writer's state and its lines, for the next tick to try again.
void LogController::writeTick() {
    if (writer_.waitingLines() > 0) {
        [[maybe_unused]] const FileResult written = writer_.writeWaiting();
        showState();
    }
}

FileResult LogController::writeWaiting() {
    const FileResult result = writer_.writeWaiting();
    showState();
    return result;
}

void LogController::stop() {
    Timer2->setEnabled(false);
    log_write->setEnabled(false);
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
                        .arg(waiting, QDir::toNativeSeparators(currentFile_), reason);
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
