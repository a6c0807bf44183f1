#include "logging/log_writer.h"

#include "logging/log_header.h"

LogWriter::LogWriter(TextFiles& files, qsizetype capacity) : files_(files), capacity_(capacity) {}

FileResult LogWriter::createFile(const QString& path) {
    return files_.create(path, logHeader() + QStringLiteral("\r\n"));
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
    if (lines_.empty()) {
        return std::nullopt;
    }
    QString text;
    text.reserve(characters_);
    for (const QString& line : lines_) {
        text += line;
    }
    FileResult result = files_.append(path, text);
    if (result) {
        lastError_ = result->isEmpty() ? QStringLiteral("unknown error") : *result;
        return result;
    }
    lines_.clear();
    characters_ = 0;
    if (failing()) {
        lastError_.clear();
        recovered_ = true;
    }
    return std::nullopt;
}

void LogWriter::dropOverCapacity() {
    while (characters_ > capacity_ && !lines_.empty()) {
        characters_ -= lines_.front().size();
        lines_.pop_front();
        ++dropped_;
    }
}
