#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "logging/log_line.h"
#include "logging/log_writer.h"
#include "platform/clock.h"
#include "platform/connection_state.h"
#include "platform/text_file.h"

class Timer;

// The data log: the sampling timer Timer2, the writer that keeps the lines until they are on
// disk, written once a second, the day's file when there is one a day, the log file's
// re-creation when it vanished, and the recovery file for the lines it cannot take at the end.
class LogController : public QObject {
    Q_OBJECT
public:
    // The values of the measurement fields at a sample.
    using ValueSource = std::function<LogValues()>;

    LogController(std::shared_ptr<TextFiles> files, Clock clock, ValueSource values,
                  QObject* parent);

    // Creates the file, replacing one of that name, with the header alone (a day's file is
    // appended to), and samples into it from now on; the lines not yet written go into it. On
    // failure the log goes on as it was.
    FileResult create(const QString& path);
    // Samples into the file from now on, appending to what it holds: only a missing or empty
    // file gets the header first.
    FileResult resume(const QString& path);
    void setInterval(int ms);
    // Asked at every sample, so that a change shows from the next line on.
    void setLogTime(LogTime time) { logTime_ = time; }
    // A new file, with its header, each day: the chosen name with the date before its
    // extension. The day turns at midnight of the log's time, UTC or local.
    void setDaily(bool daily) { daily_ = daily; }

    // The file chosen, and the one its lines go to now (the day's, when there is one a day).
    const QString& file() const { return file_; }
    const QString& currentFile() const { return currentFile_; }
    qint64 samples() const { return writer_.samples(); }
    const ConnectionState& state() const { return state_; }

    // The end of the program: sampling stops, then the waiting lines go to the file, and what it
    // cannot take to another one.
    FileResult writeWaiting();
    void stop();
    qsizetype waitingLines() const { return writer_.waitingLines(); }
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

signals:
    void sampled(qint64 samples);
    void stateChanged(const ConnectionState& state);

private:
    FileResult startIn(const QString& path, FileResult (LogWriter::*prepare)(const QString&));
    QString fileFor(const QString& path, const QDateTime& when) const;
    void takeSample();
    void writeTick();
    void showState();

    std::shared_ptr<TextFiles> files_;
    Clock clock_;
    ValueSource values_;
    LogWriter writer_;
    Timer* Timer2;
    // A sampled line is in its file within a second, however long the sampling interval.
    Timer* log_write;
    QString file_;
    QString currentFile_;
    LogTime logTime_ = LogTime::Local;
    bool daily_ = false;
    ConnectionState state_;
};
