#pragma once

#include <QString>
#include <deque>

#include "platform/text_file.h"

// Keeps the log's data lines in memory, each with the file it belongs to, until they are appended
// to it, with one open, write, sync and close per piece. Lines that cannot be written stay and are
// tried again at the next write; only a failure long enough to fill the memory cap loses lines,
// the oldest first, and those are counted.
class LogWriter {
public:
    // About 70000 lines, most of a day at one sample a second.
    static constexpr qsizetype kDefaultCapacity = qsizetype{4} * 1024 * 1024;  // characters
    // A failing file is retried at every write: each try joins and sends at most this much, so
    // that a day of waiting lines is not copied again and again.
    static constexpr qsizetype kPieceCharacters = qsizetype{64} * 1024;

    explicit LogWriter(TextFiles& files, qsizetype capacity = kDefaultCapacity);

    // Creates the file with the header line alone.
    FileResult createFile(const QString& path);
    // Makes the file ready for appending without touching what it holds: only a missing or empty
    // file is created, with the header line.
    FileResult continueFile(const QString& path);
    // Counts one sample and keeps its line (with its CR LF) for the file at `path`.
    void addSample(const QString& line, const QString& path);
    // The waiting lines go to the file at `path` instead: a log moved to a new file takes them
    // along.
    void retarget(const QString& path);
    // Appends every waiting line to its file now, piece by piece; the lines of a file that fails
    // keep waiting, and those of other files go on. A file that has vanished is created again
    // with its header, as long as its folder takes it.
    FileResult writeWaiting();
    // Creates a file holding the header and every waiting line: where the lines go when the
    // log file cannot take them at the end.
    FileResult saveWaitingAs(const QString& path);

    qint64 samples() const { return samples_; }
    qsizetype waitingLines() const { return static_cast<qsizetype>(lines_.size()); }
    qint64 droppedLines() const { return dropped_; }
    // The last write failed; the text says why.
    bool failing() const { return !lastError_.isEmpty(); }
    const QString& lastError() const { return lastError_; }
    // The file the last failure was on.
    const QString& failingFile() const { return failingFile_; }
    // A write failed at some point and a later one succeeded.
    bool recovered() const { return recovered_; }
    // The file vanished and was created again, at the last recovery or since.
    bool recreated() const { return recreated_; }

private:
    struct Line {
        QString text;
        QString path;
    };
    // The first waiting lines of one file, up to kPieceCharacters (one line at least), and how
    // many.
    std::pair<QString, qsizetype> nextPiece() const;
    // `madeAnew` is set when the file had to be created again.
    FileResult appendOrRecreate(const QString& path, const QString& text, bool& madeAnew);
    void forget(qsizetype lines);
    void dropOverCapacity();

    TextFiles& files_;
    qsizetype capacity_;
    std::deque<Line> lines_;
    qsizetype characters_ = 0;
    qint64 samples_ = 0;
    qint64 dropped_ = 0;
    QString lastError_;
    QString failingFile_;
    bool recovered_ = false;
    bool recreated_ = false;
};
