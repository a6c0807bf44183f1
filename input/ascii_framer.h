#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The receive buffer of the ASCII instrument. A record is the text between two CR LF pairs, so
// the partial line in flight when the port opened (everything before the first CR LF) is never
// read as one. After the records are taken the buffer begins with the CR LF that ended the last
// of them, which frames the next.
class AsciiFramer {
public:
    // Far more than any record; text that never brings a CR LF pair (a wrong baud rate, say)
    // is dropped from the front beyond this.
    static constexpr qsizetype kCapacity = 64 * 1024;

    // Appends received bytes and returns every record now complete, oldest first.
    QList<QByteArray> append(QByteArrayView bytes);
    void clear() { buffer_.clear(); }
    // What is held for the records still to come.
    const QByteArray& pending() const { return buffer_; }

private:
    QByteArray buffer_;
};
