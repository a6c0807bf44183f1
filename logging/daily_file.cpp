#include "logging/daily_file.h"

#include <QFileInfo>

QString dailyFile(const QString& path, const QDate& day) {
    const QString date = day.toString(Qt::ISODate);
    const QFileInfo file(path);
    const QString name = file.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    // A leading dot names a hidden file; it is no extension.
    const QString dated =
        dot > 0 ? name.left(dot) + u'-' + date + name.mid(dot) : name + u'-' + date;
    return path.left(path.size() - name.size()) + dated;
}
