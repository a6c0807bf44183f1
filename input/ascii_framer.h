#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "input/record_layout.h"

// The receive buffer of the ASCII instrument. Between CR LF pairs, a record is the text between
// two of them, and after the records are taken the buffer begins with the CR LF that ended the
// last of them, which frames the next. In lines, a record is the text a CR, a LF or a CR LF
// ends; empty lines are none. Either way the partial line in flight when the port opened
// (everything before the first line end) is never read as one.
class AsciiFramer {
public:
    // Far more than any record; text that never brings a line end (a wrong baud rate, say) is
    // dropped beyond this.
    static constexpr qsizetype kCapacity = 64 * 1024;

    // From now on records are cut this way; what is held is dropped.
    void setFraming(RecordLayout::Framing framing);
    // Appends received bytes and returns every record now complete, oldest first.
    QList<QByteArray> append(QByteArrayView bytes);
    void clear();
    // Drops what is held; the next byte starts a record, as on a link whose bytes begin at one.
    void beginAtRecord();
    // What is held for the records still to come.
    const QByteArray& pending() const { return buffer_; }

private:
    QList<QByteArray> appendLines(QByteArrayView bytes);

    RecordLayout::Framing framing_ = RecordLayout::Framing::BetweenCrLfPairs;
    QByteArray buffer_;
    // A line end has come since the buffer was last emptied: what follows it starts a record.
    bool lineBegun_ = false;
};
