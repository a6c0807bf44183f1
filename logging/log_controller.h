#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "logging/log_line.h"
#include "logging/log_status.h"
#include "logging/log_thread.h"
#include "logging/log_writer.h"
#include "platform/clock.h"
#include "platform/connection_state.h"
#include "platform/text_file.h"

class Timer;

// The data log: the sampling timer Timer2, the writer that keeps the lines until they are on
// disk, written once a second on the log's own thread, the day's file when there is one a day,
// the log file's re-creation when it vanished, and the recovery file for the lines it cannot take
// at the end. Nothing here waits for the disk but the end, and that for a bounded time.
class LogController : public QObject {
    Q_OBJECT
public:
    // The values of the measurement fields at a sample.
    using ValueSource = std::function<LogValues()>;

    // How a file was asked for, as its answer tells.
    enum class Asked { Create, Resume };

    LogController(std::shared_ptr<TextFiles> files, Clock clock, SteadyClock steadyClock,
                  ValueSource values, QObject* parent);

    // Asks for the file to be created, replacing one of that name, with the header alone (a day's
    // file is appended to). Once it is ready, the log samples into it and the lines not yet
    // written go into it; until then, and when it is refused, the log goes on as it was.
    void create(const QString& path);
    // Asks to sample into the file, appending to what it holds: only a missing or empty file gets
    // the header first. Sampling starts now; the lines wait for the file to answer.
    void resume(const QString& path);
    void setInterval(int ms);
    // Asked at every sample, so that a change shows from the next line on.
    void setLogTime(LogTime time) { logTime_ = time; }
    // A new file, with its header, each day: the chosen name with the date before its
    // extension. The day turns at midnight of the log's time, UTC or local.
    void setDaily(bool daily) { daily_ = daily; }

    // The file chosen, and the one its lines go to now (the day's, when there is one a day).
    const QString& file() const { return file_; }
    const QString& currentFile() const { return currentFile_; }
    qint64 samples() const { return writer_->samples(); }
    const ConnectionState& state() const { return state_; }

    // The end of the program: sampling stops, and the waiting lines go to the file, waited for
    // at most `limit`. A disk that has not answered by then is given up as not answering; the
    // lines it did not take are left for another file.
    FileResult finish(std::chrono::milliseconds limit);
    // Waits at most `limit` for the file work asked for so far, and takes in what it answered;
    // false when the disk has not answered by then.
    bool settle(std::chrono::milliseconds limit);
    void stop();
    qsizetype waitingLines() const { return writer_->waitingLines(); }
    FileResult saveWaitingAs(const QString& path);

    struct Recovery {
        bool saved = false;
        QString path;
        // Which lines could not go where, and why.
        QString what;
        // What became of them: `what`, then where they are now or that they are lost.
        QString told;
    };
    // The user's own data folder is there on every desktop, whatever became of the log's folder;
    // a new name each time, so that no recovery file replaces another.
    Recovery saveToRecoveryFile(const QString& reason);

    // The state counts the seconds of a wait for the disk; it is told once elsewhere.
    bool waitingForDisk() const { return waitingForDisk_; }

signals:
    void sampled(qint64 samples);
    void stateChanged(const ConnectionState& state);
    void fileReady(const QString& path, LogController::Asked asked);
    void fileRefused(const QString& path, const QString& reason, LogController::Asked asked);

private:
    // The file that the lines of `path` go to.
    QString ask(const QString& path, Asked asked);
    void answered(const QString& path, const QString& target, Asked asked,
                  const FileResult& result);
    QString fileFor(const QString& path, const QDateTime& when) const;
    void takeSample();
    // Once at a time: a write that hangs does not pile up more behind it.
    void askWrite();
    void showState();

    std::shared_ptr<TextFiles> files_;
    Clock clock_;
    SteadyClock steadyClock_;
    ValueSource values_;
    std::shared_ptr<LogWriter> writer_;
    std::shared_ptr<std::atomic<bool>> writeAsked_;
    Timer* Timer2;
    // A sampled line is in its file within a second, however long the sampling interval.
    Timer* log_write;
    QString file_;
    QString currentFile_;
    LogTime logTime_ = LogTime::Local;
    bool daily_ = false;
    ConnectionState state_;
    bool finished_ = false;
    DiskWaitWatch diskWait_;
    bool waitingForDisk_ = false;
    // Last, so that it goes first: no answer comes once the rest is going.
    std::unique_ptr<LogThread> thread_;
};
