#pragma once

#include <QByteArrayView>
#include <QString>

// What the incoming-data box shows of each received piece. The instrument sends ASCII; Latin-1
// gives every byte a character, so nothing can fail to decode. A CR LF is one line break even
// when it is split between two pieces, and a line never grows beyond kLongestLine characters:
// a text box re-lays a whole line on every insertion, so the endless line of a wrong baud rate
// would otherwise make each piece dearer than the last.
class IncomingText {
public:
    static constexpr qsizetype kLongestLine = 256;

    // The text to insert for `bytes` at a caret that has `column` characters before it on its
    // line.
    QString show(QByteArrayView bytes, qsizetype column);

private:
    bool endsWithCr_ = false;
};
