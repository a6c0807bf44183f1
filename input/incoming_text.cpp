#include "input/incoming_text.h"

QString IncomingText::show(QByteArrayView bytes, qsizetype column) {
    if (bytes.isEmpty()) {
        return {};
    }
    if (endsWithCr_ && bytes.front() == '\n') {
        bytes = bytes.sliced(1);
    }
    endsWithCr_ = !bytes.isEmpty() && bytes.back() == '\r';
    QString text;
    text.reserve(bytes.size() + bytes.size() / kLongestLine + 1);
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            column = 0;
        } else if (column >= kLongestLine) {
            text.append(QLatin1Char('\n'));
            column = 1;
        } else {
            ++column;
        }
        text.append(QLatin1Char(byte));
    }
    return text;
}
