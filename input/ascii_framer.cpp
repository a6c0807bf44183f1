#include "input/ascii_framer.h"

namespace {

constexpr QByteArrayView kLineEnd("\r\n");

}  // namespace

QList<QByteArray> AsciiFramer::append(QByteArrayView bytes) {
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
