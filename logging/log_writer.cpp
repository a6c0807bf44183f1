#include "logging/log_writer.h"

#include "logging/log_header.h"

namespace {

QString headerLine() {
    return logHeader() + QStringLiteral("\r\n");
}

}  // namespace

LogWriter::LogWriter(TextFiles& files, qsizetype capacity) : files_(files), capacity_(capacity) {}

FileResult LogWriter::createFile(const QString& path) {
    return files_.create(path, headerLine());
}

FileResult LogWriter::continueFile(const QString& path) {
    if (files_.hasContent(path)) {
        return {};
    }
    return createFile(path);
}

void LogWriter::addSample(const QString& line, const QString& path) {
    ++samples_;
    lines_.push_back({line, path});
    characters_ += line.size();
    dropOverCapacity();
}

void LogWriter::retarget(const QString& path) {
    for (Line& line : lines_) {
        line.path = path;
    }
}

// A file that takes the lines again after failing is told as re-created only when it was made
// anew; one that was only appended to writes again.
FileResult LogWriter::writeWaiting() {
    bool madeAnew = false;
    FileResult failure;
    std::deque<Line> kept;
    const auto keep = [&](qsizetype lines) {
        for (; lines > 0; --lines) {
            kept.push_back(std::move(lines_.front()));
            lines_.pop_front();
        }
    };
    while (!lines_.empty()) {
        if (!failure.ok() && lines_.front().path == failingFile_) {
            keep(1);
            continue;
        }
        const QString path = lines_.front().path;
        const auto [text, count] = nextPiece();
        if (const FileResult result = appendOrRecreate(path, text, madeAnew); result.ok()) {
            forget(count);
        } else {
            // The lines of every file that fails wait, in order, for the next write.
            if (failure.ok()) {
                failure = result;
                failingFile_ = path;
            }
            keep(count);
        }
    }
    lines_.swap(kept);
    if (!failure.ok()) {
        lastError_ = failure.error().isEmpty() ? QStringLiteral("unknown error") : failure.error();
        return failure;
    }
    if (failing()) {
        lastError_.clear();
        recovered_ = true;
        recreated_ = madeAnew;
    }
    recreated_ = recreated_ || madeAnew;
    return {};
}

FileResult LogWriter::saveWaitingAs(const QString& path) {
    QString text = headerLine();
    text.reserve(text.size() + characters_);
    for (const Line& line : lines_) {
        text += line.text;
    }
    const FileResult result = files_.create(path, text);
    if (result.ok()) {
        forget(waitingLines());
    }
    return result;
}

std::pair<QString, qsizetype> LogWriter::nextPiece() const {
    QString text;
    qsizetype count = 0;
    for (const Line& line : lines_) {
        if (count > 0 && (line.path != lines_.front().path ||
                          text.size() + line.text.size() > kPieceCharacters)) {
            break;
        }
        text += line.text;
        ++count;
    }
    return {text, count};
}

// The append refuses a missing file so that a log never goes on headerless; here the header
// comes first.
FileResult LogWriter::appendOrRecreate(const QString& path, const QString& text, bool& madeAnew) {
    FileResult result = files_.append(path, text);
    if (!result.ok() && !files_.exists(path)) {
        result = files_.create(path, headerLine() + text);
        madeAnew = madeAnew || result.ok();
    }
    return result;
}

void LogWriter::forget(qsizetype lines) {
    for (; lines > 0; --lines) {
        characters_ -= lines_.front().text.size();
        lines_.pop_front();
    }
}

void LogWriter::dropOverCapacity() {
    while (characters_ > capacity_ && !lines_.empty()) {
        forget(1);
        ++dropped_;
    }
}
