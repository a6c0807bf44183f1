#pragma once

#include <QFile>
#include <QString>

// What a simulated instrument sent, for a checker that compares it with what a reader took:
// "<n> <kind>" for every line n (from 0) that is not an ordinary record, in order, and
// "sent <count>" once sending has ended. Each entry is on disk as soon as its line has been
// written to the device, so the file can be followed while the run goes on.
class LineJournal {
public:
    // Without a path the journal writes nothing.
    bool open(const QString& path);
    void line(qint64 n, const char* kind);
    void end(qint64 count);

private:
    void write(const QByteArray& entry);

    QFile file_;
};
