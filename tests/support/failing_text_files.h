#pragma once

#include <QStringList>

#include "platform/text_file.h"

// Real UTF-8 files on disk whose appends can be told to fail, as a full disk or a lost drive
// would. Records the text of every append it was asked for.
class FailingTextFiles : public TextFiles {
public:
    FileResult create(const QString& path, const QString& text) override {
        return disk_.create(path, text);
    }
    FileResult append(const QString& path, const QString& text) override {
        appends.append(text);
        if (failAppend) {
            return QStringLiteral("No space left on device");
        }
        return disk_.append(path, text);
    }
    bool exists(const QString& path) override { return disk_.exists(path); }
    bool makeFolder(const QString& path) override { return disk_.makeFolder(path); }
    bool hasContent(const QString& path) override { return disk_.hasContent(path); }

    bool failAppend = false;
    QStringList appends;

private:
    DiskTextFiles disk_{QByteArrayLiteral("UTF-8")};
};
