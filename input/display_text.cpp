#include "input/display_text.h"

namespace {

bool displayable(char32_t codePoint) {
    if (QChar::isNonCharacter(codePoint) || codePoint == QChar::ObjectReplacementCharacter) {
        return false;
    }
    switch (QChar::category(codePoint)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            return true;
    }
}

}  // namespace

QString displayText(QStringView received) {
    QString shown;
    shown.reserve(received.size());
    for (qsizetype i = 0; i < received.size();) {
        const bool pair = received[i].isHighSurrogate() && i + 1 < received.size() &&
                          received[i + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const char32_t codePoint =
            pair ? QChar::surrogateToUcs4(received[i], received[i + 1]) : received[i].unicode();
        if (displayable(codePoint)) {
            shown += received.mid(i, length);
        } else {
            shown += QChar(QChar::ReplacementCharacter);
        }
        i += length;
    }
    return shown;
}
