#pragma once

#include <QString>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/text_file.h"

// Keeps the log's data lines in memory, each with the file it belongs to, until they are appended
// to it, with one open, write, sync and close per piece. Lines that cannot be written stay and are
// tried again at the next write; only a failure long enough to fill the memory cap loses lines,
// the oldest first, and those are counted.
//
// The lines are the one queue between the thread that samples and the thread that writes: every
// member may be called from either, and none holds the lock while a file is being written, so
// sampling never waits for a disk that hangs.
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
    // Counts one sample and keeps its line (with its CR LF) for the file at `path`; a line with
    // no path waits for one.
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
    // No file work from now on but saveWaitingAs: the lines that wait stay where they are, for
    // the end to save elsewhere, while a write that hangs may still return. A file call under
    // way fails for `reason`.
    void giveUp(const QString& reason);

    struct Busy {
        QString path;
        // Counts the file calls, so that one that goes on can be told from the next.
        qint64 call;
    };
    // The file call that has not returned yet, if one is under way.
    std::optional<Busy> busy() const;

    qint64 samples() const;
    qsizetype waitingLines() const;
    qint64 droppedLines() const;
    // The last write failed; the text says why.
    bool failing() const;
    QString lastError() const;
    // The file the last failure was on.
    QString failingFile() const;
    // A write failed at some point and a later one succeeded.
    bool recovered() const;
    // The file vanished and was created again, at the last recovery or since.
    bool recreated() const;

private:
    struct Line {
        qint64 number;
        QString text;
        QString path;
    };
    struct Piece {
        QString path;
        QString text;
        qint64 first = 0;
        qint64 last = -1;
    };
    // The first waiting lines of one file that come after line `after`, up to kPieceCharacters
    // (one line at least), passing over those with no file and those of `passedOver`.
    Piece nextPiece(qint64 after, const QString& passedOver) const;
    // `madeAnew` is set when the file had to be created again.
    FileResult appendOrRecreate(const QString& path, const QString& text, bool& madeAnew);
    template <typename Call>
    FileResult tracked(const QString& path, Call call);
    template <typename Read>
    auto locked(Read read) const;
    void forget(qint64 first, qint64 last);
    void dropOverCapacity();

    TextFiles& files_;
    const qsizetype capacity_;
    mutable std::mutex mutex_;
    std::deque<Line> lines_;
    qint64 nextNumber_ = 0;
    // The numbers of the lines being written now.
    std::pair<qint64, qint64> writing_{0, -1};
    // Of those, the ones dropped while they were being written: not lost if the write succeeds.
    qint64 droppedWriting_ = 0;
    // Counts the retargets: a pass that began before one ends, so that the lines keep their
    // order in the file they go to now.
    qint64 retargets_ = 0;
    qsizetype characters_ = 0;
    qint64 samples_ = 0;
    qint64 dropped_ = 0;
    QString lastError_;
    QString failingFile_;
    bool recovered_ = false;
    bool recreated_ = false;
    bool closed_ = false;
    std::optional<Busy> busy_;
    qint64 calls_ = 0;
};
