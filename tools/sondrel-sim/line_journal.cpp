#include "line_journal.h"

#include <iostream>

bool LineJournal::open(const QString& path) {
    if (path.isEmpty()) {
        return true;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::cerr << "sondrel-sim: cannot write the journal " << QFile::encodeName(path).constData()
                  << '\n';
        return false;
    }
    return true;
}

void LineJournal::line(qint64 n, const char* kind) {
    write(QByteArray::number(n) + ' ' + kind + '\n');
}

void LineJournal::end(qint64 count) {
    write("sent " + QByteArray::number(count) + '\n');
}

void LineJournal::write(const QByteArray& entry) {
    if (file_.isOpen()) {
        file_.write(entry);
        file_.flush();
    }
}
