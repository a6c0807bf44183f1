#include "logging/log_writer.h"

#include <algorithm>
#include <utility>

#include "logging/log_header.h"

namespace {

QString headerLine() {
    return logHeader() + QStringLiteral("\r\n");
}

}  // namespace

LogWriter::LogWriter(TextFiles& files, qsizetype capacity) : files_(files), capacity_(capacity) {}

template <typename Call>
FileResult LogWriter::tracked(const QString& path, Call call) {
    {
        const std::lock_guard lock(mutex_);
        if (closed_) {
            return QStringLiteral("the log has ended");
        }
        busy_ = Busy{path, ++calls_};
    }
    FileResult result = call();
    const std::lock_guard lock(mutex_);
    busy_.reset();
    return result;
}

FileResult LogWriter::createFile(const QString& path) {
    return tracked(path, [&] { return files_.create(path, headerLine()); });
}

FileResult LogWriter::continueFile(const QString& path) {
    return tracked(path, [&]() -> FileResult {
        if (files_.hasContent(path)) {
            return {};
        }
        return files_.create(path, headerLine());
    });
}

void LogWriter::addSample(const QString& line, const QString& path) {
    const std::lock_guard lock(mutex_);
    ++samples_;
    lines_.push_back({nextNumber_++, line, path});
    characters_ += line.size();
    dropOverCapacity();
}

void LogWriter::retarget(const QString& path) {
    const std::lock_guard lock(mutex_);
    for (Line& line : lines_) {
        line.path = path;
    }
    ++retargets_;
}

// A file that takes the lines again after failing is told as re-created only when it was made
// anew; one that was only appended to writes again. Lines sampled during the pass join it.
FileResult LogWriter::writeWaiting() {
    bool madeAnew = false;
    bool wrote = false;
    FileResult failure;
    QString failedPath;
    qint64 retargets = 0;
    {
        const std::lock_guard lock(mutex_);
        retargets = retargets_;
    }
    for (qint64 after = -1;;) {
        Piece piece;
        {
            const std::lock_guard lock(mutex_);
            piece = nextPiece(after, failedPath);
            if (closed_ || piece.text.isEmpty() || retargets != retargets_) {
                break;
            }
            writing_ = {piece.first, piece.last};
        }
        const FileResult result = appendOrRecreate(piece.path, piece.text, madeAnew);
        const std::lock_guard lock(mutex_);
        writing_ = {0, -1};
        after = piece.last;
        if (result.ok()) {
            dropped_ -= std::exchange(droppedWriting_, 0);
            forget(piece.first, piece.last);
            wrote = true;
        } else if (failure.ok()) {
            // The lines of every file that fails wait, in order, for the next write.
            failure = result;
            failedPath = piece.path;
            failingFile_ = piece.path;
        }
    }
    const std::lock_guard lock(mutex_);
    if (!failure.ok()) {
        lastError_ = failure.error().isEmpty() ? QStringLiteral("unknown error") : failure.error();
        return failure;
    }
    droppedWriting_ = 0;
    // Only lines that reached a file show it writing again.
    if (!lastError_.isEmpty() && !closed_ && wrote) {
        lastError_.clear();
        recovered_ = true;
        recreated_ = madeAnew;
    }
    recreated_ = recreated_ || madeAnew;
    return {};
}

FileResult LogWriter::saveWaitingAs(const QString& path) {
    QString text = headerLine();
    qint64 last = -1;
    {
        const std::lock_guard lock(mutex_);
        text.reserve(text.size() + characters_);
        for (const Line& line : lines_) {
            text += line.text;
        }
        if (!lines_.empty()) {
            last = lines_.back().number;
        }
    }
    const FileResult result = files_.create(path, text);
    if (result.ok()) {
        const std::lock_guard lock(mutex_);
        forget(0, last);
    }
    return result;
}

void LogWriter::giveUp(const QString& reason) {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    if (busy_) {
        lastError_ = reason;
        failingFile_ = busy_->path;
        // Nothing waits for the call any more.
        busy_.reset();
    } else if (!lines_.empty()) {
        lastError_ = reason;
        failingFile_ = lines_.front().path;
    }
}

// Each answer is read under the lock, as the other thread may be changing it.
template <typename Read>
auto LogWriter::locked(Read read) const {
    const std::lock_guard lock(mutex_);
    return read();
}

std::optional<LogWriter::Busy> LogWriter::busy() const {
    return locked([this] { return busy_; });
}

qint64 LogWriter::samples() const {
    return locked([this] { return samples_; });
}

qsizetype LogWriter::waitingLines() const {
    return locked([this] { return static_cast<qsizetype>(lines_.size()); });
}

qint64 LogWriter::droppedLines() const {
    return locked([this] { return dropped_; });
}

bool LogWriter::failing() const {
    return locked([this] { return !lastError_.isEmpty(); });
}

QString LogWriter::lastError() const {
    return locked([this] { return lastError_; });
}

QString LogWriter::failingFile() const {
    return locked([this] { return failingFile_; });
}

bool LogWriter::recovered() const {
    return locked([this] { return recovered_; });
}

bool LogWriter::recreated() const {
    return locked([this] { return recreated_; });
}

LogWriter::Piece LogWriter::nextPiece(qint64 after, const QString& passedOver) const {
    Piece piece;
    auto line = std::upper_bound(lines_.begin(), lines_.end(), after,
                                 [](qint64 number, const Line& l) { return number < l.number; });
    line = std::find_if(line, lines_.end(),
                        [&](const Line& l) { return !l.path.isEmpty() && l.path != passedOver; });
    if (line == lines_.end()) {
        return piece;
    }
    piece.path = line->path;
    piece.first = line->number;
    for (; line != lines_.end(); ++line) {
        if (piece.last >= 0 && (line->path != piece.path ||
                                piece.text.size() + line->text.size() > kPieceCharacters)) {
            break;
        }
        piece.text += line->text;
        piece.last = line->number;
    }
    return piece;
}

// The append refuses a missing file so that a log never goes on headerless; here the header
// comes first.
FileResult LogWriter::appendOrRecreate(const QString& path, const QString& text, bool& madeAnew) {
    return tracked(path, [&] {
        FileResult result = files_.append(path, text);
        if (!result.ok() && !files_.exists(path)) {
            result = files_.create(path, headerLine() + text);
            madeAnew = madeAnew || result.ok();
        }
        return result;
    });
}

// The numbers from `first` to `last` are one run of lines in the queue, those dropped since
// aside.
void LogWriter::forget(qint64 first, qint64 last) {
    const auto byNumber = [](const Line& l, qint64 number) { return l.number < number; };
    const auto begin = std::lower_bound(lines_.begin(), lines_.end(), first, byNumber);
    const auto end = std::lower_bound(begin, lines_.end(), last + 1, byNumber);
    for (auto line = begin; line != end; ++line) {
        characters_ -= line->text.size();
    }
    lines_.erase(begin, end);
}

// The oldest go first, also while they are being written.
void LogWriter::dropOverCapacity() {
    while (characters_ > capacity_ && !lines_.empty()) {
        const Line& oldest = lines_.front();
        if (oldest.number >= writing_.first && oldest.number <= writing_.second) {
            ++droppedWriting_;
        }
        characters_ -= oldest.text.size();
        lines_.pop_front();
        ++dropped_;
    }
}
