#include "input/ascii_framer.h"

namespace {

constexpr QByteArrayView kLineEnd("\r\n");

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

void AsciiFramer::setFraming(RecordLayout::Framing framing) {
    framing_ = framing;
    clear();
}

void AsciiFramer::clear() {
    buffer_.clear();
    lineBegun_ = false;
}

void AsciiFramer::beginAtRecord() {
    clear();
    lineBegun_ = true;
    if (framing_ == RecordLayout::Framing::BetweenCrLfPairs) {
        buffer_ = kLineEnd.toByteArray();
    }
}

QList<QByteArray> AsciiFramer::append(QByteArrayView bytes) {
    if (framing_ == RecordLayout::Framing::Lines) {
        return appendLines(bytes);
    }
    buffer_.append(bytes);
    QList<QByteArray> records;
    qsizetype start = buffer_.indexOf(kLineEnd);
    if (start >= 0) {
        for (qsizetype end = buffer_.indexOf(kLineEnd, start + kLineEnd.size()); end >= 0;
             end = buffer_.indexOf(kLineEnd, start + kLineEnd.size())) {
            records.append(buffer_.sliced(start + kLineEnd.size(), end - start - kLineEnd.size()));
            start = end;
        }
        // One cut for the whole chunk: taking the records one at a time from the front would
        // copy the rest of a large chunk once per record.
        buffer_.remove(0, start);
    }
    if (buffer_.size() > kCapacity) {
        buffer_.remove(0, buffer_.size() - kCapacity);
    }
    return records;
}

// A line longer than the buffer is no record: it is dropped up to its end, not read from the
// middle.
QList<QByteArray> AsciiFramer::appendLines(QByteArrayView bytes) {
    QList<QByteArray> records;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!isLineEnd(bytes[i])) {
            continue;
        }
        const qsizetype length = buffer_.size() + i - start;
        if (lineBegun_ && length > 0 && length <= kCapacity) {
            buffer_.append(bytes.sliced(start, i - start));
            records.append(buffer_);
        }
        buffer_.clear();
        lineBegun_ = true;
        start = i + 1;
    }
    if (lineBegun_) {
        buffer_.append(bytes.sliced(start));
    }
    if (buffer_.size() > kCapacity) {
        clear();
    }
    return records;
}
