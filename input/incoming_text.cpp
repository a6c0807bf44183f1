#include "input/incoming_text.h"

namespace {

// A NUL or another control byte from a line at the wrong baud rate would cut the display short
// or upset the text document; TAB and the line ends are the record's own and stay.
QChar shown(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    const bool control = value < 0x20 || (value >= 0x7f && value < 0xa0);
    if (control && byte != '\t' && byte != '\r' && byte != '\n') {
        return QChar::ReplacementCharacter;
    }
    return QLatin1Char(byte);
}

}  // namespace

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
        text.append(shown(byte));
    }
    return text;
}
