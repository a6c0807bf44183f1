#include "logging/log_controller.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include "logging/daily_file.h"
#include "platform/timer.h"

LogController::LogController(std::shared_ptr<TextFiles> files, Clock clock, SteadyClock steadyClock,
                             ValueSource values, QObject* parent)
    : QObject(parent),
      files_(std::move(files)),
      clock_(std::move(clock)),
      steadyClock_(std::move(steadyClock)),
      values_(std::move(values)),
      writer_(std::make_shared<LogWriter>(*files_)),
      writeAsked_(std::make_shared<std::atomic<bool>>(false)),
      Timer2(new Timer(QStringLiteral("Timer2"), 1000, this)),
      log_write(new Timer(QStringLiteral("log_write"), 1000, this)),
      thread_(std::make_unique<LogThread>(this)) {
    connect(Timer2, &Timer::tick, this, &LogController::takeSample);
    connect(log_write, &Timer::tick, this, [this] {
        askWrite();
        // A wait for the disk is counted in seconds while it lasts.
        showState();
    });
}

// A day's file holds what was logged that day already: choosing the log again goes on in it.
void LogController::create(const QString& path) {
    ask(path, Asked::Create);
}

// The file is asked for before any line is written to it, and the log's thread does its work in
// order: the header comes first.
void LogController::resume(const QString& path) {
    currentFile_ = ask(path, Asked::Resume);
    file_ = path;
    Timer2->setEnabled(true);
    log_write->setEnabled(true);
}

// The work holds what it needs by itself: a disk that hangs may keep it past this object.
QString LogController::ask(const QString& path, Asked asked) {
    // The clock is asked only when its day names the file.
    const QString target = daily_ ? fileFor(path, clock_()) : path;
    const bool replace = asked == Asked::Create && !daily_;
    thread_->run([this, writer = writer_, files = files_, path, target, asked, replace] {
        const FileResult result =
            replace ? writer->createFile(target) : writer->continueFile(target);
        return [this, path, target, asked, result] { answered(path, target, asked, result); };
    });
    return target;
}

// Once the log has finished, an answer that comes late changes nothing: no sampling after the
// end.
void LogController::answered(const QString& path, const QString& target, Asked asked,
                             const FileResult& result) {
    if (finished_) {
        return;
    }
    if (!result.ok()) {
        // The lines sampled meanwhile wait for the next file.
        if (asked == Asked::Resume && file_ == path) {
            file_.clear();
            currentFile_.clear();
            writer_->retarget({});
            Timer2->setEnabled(false);
        }
        showState();
        emit fileRefused(path, result.error(), asked);
        return;
    }
    file_ = path;
    currentFile_ = target;
    writer_->retarget(target);
    Timer2->setEnabled(true);
    log_write->setEnabled(true);
    askWrite();
    showState();
    emit fileReady(path, asked);
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
        thread_->run([writer = writer_, files = files_, target] {
            [[maybe_unused]] const FileResult ready = writer->continueFile(target);
            return LogThread::Answer();
        });
        currentFile_ = target;
    }
    writer_->addSample(logLine(when, values_(), logTime_), currentFile_);
    emit sampled(writer_->samples());
    showState();
}

// A failure is kept in the writer's state and its lines, for the next write to try again.
void LogController::askWrite() {
    if (writeAsked_->exchange(true)) {
        return;
    }
    thread_->run([this, writer = writer_, files = files_, asked = writeAsked_] {
        asked->store(false);
        [[maybe_unused]] const FileResult written = writer->writeWaiting();
        return [this] { showState(); };
    });
}

bool LogController::settle(std::chrono::milliseconds limit) {
    if (!thread_->waitDone(limit)) {
        return false;
    }
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return true;
}

FileResult LogController::finish(std::chrono::milliseconds limit) {
    stop();
    finished_ = true;
    askWrite();
    if (!settle(limit)) {
        writer_->giveUp(QStringLiteral("not answering"));
        showState();
        return writer_->lastError();
    }
    showState();
    if (writer_->failing()) {
        return writer_->lastError();
    }
    return {};
}

void LogController::stop() {
    Timer2->setEnabled(false);
    log_write->setEnabled(false);
}

FileResult LogController::saveWaitingAs(const QString& path) {
    return writer_->saveWaitingAs(path);
}
LogController::Recovery LogController::saveToRecoveryFile(const QString& reason) {
    const QString waiting = QString::number(writer_->waitingLines());
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
                                 ? writer_->saveWaitingAs(recovery.path)
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
    const std::optional<DiskWait> wait = diskWait_.told(writer_->busy(), steadyClock_());
    waitingForDisk_ = wait.has_value();
    const ConnectionState state = logState(*writer_, wait);
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}
