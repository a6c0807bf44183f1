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

void LogWriter::addSample(const QString& line, const QString& path) {
    ++samples_;
    lines_.push_back(line);
    characters_ += line.size();
    if (!path.isEmpty() && waitingLines() >= kBatchLines) {
        writeWaiting(path);
    }
    dropOverCapacity();
}

FileResult LogWriter::writeWaiting(const QString& path) {
    while (!lines_.empty()) {
        const auto [text, count] = nextPiece();
        if (FileResult failure = appendOrRecreate(path, text)) {
            lastError_ = failure->isEmpty() ? QStringLiteral("unknown error") : *failure;
            return failure;
        }
        forget(count);
    }
    if (failing()) {
        lastError_.clear();
        recovered_ = true;
    }
    return std::nullopt;
}

FileResult LogWriter::saveWaitingAs(const QString& path) {
    QString text = headerLine();
    text.reserve(text.size() + characters_);
    for (const QString& line : lines_) {
        text += line;
    }
    if (FileResult failure = files_.create(path, text)) {
        return failure;
    }
    forget(waitingLines());
    return std::nullopt;
}

std::pair<QString, qsizetype> LogWriter::nextPiece() const {
    QString text;
    qsizetype count = 0;
    for (const QString& line : lines_) {
        if (count > 0 && text.size() + line.size() > kPieceCharacters) {
            break;
        }
        text += line;
        ++count;
    }
    return {text, count};
}

// The append refuses a missing file so that a log never goes on headerless; here the header
// comes first.
FileResult LogWriter::appendOrRecreate(const QString& path, const QString& text) {
    FileResult failure = files_.append(path, text);
    if (failure && !files_.exists(path)) {
        failure = files_.create(path, headerLine() + text);
        recreated_ = recreated_ || !failure;
    }
    return failure;
}

void LogWriter::forget(qsizetype lines) {
    for (; lines > 0; --lines) {
        characters_ -= lines_.front().size();
        lines_.pop_front();
    }
}

void LogWriter::dropOverCapacity() {
    while (characters_ > capacity_ && !lines_.empty()) {
        forget(1);
        ++dropped_;
    }
}
