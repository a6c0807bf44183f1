#pragma once

#include <QStringList>

#include "platform/text_file.h"

// Real files on disk that can be told to fail, as a full disk or a lost drive would. Records the
// text of every append it was asked for.
class FailingTextFiles : public TextFiles {
public:
    explicit FailingTextFiles(QByteArray encoding = QByteArrayLiteral("UTF-8"))
        : disk_(std::move(encoding)) {}

    FileResult create(const QString& path, const QString& text) override {
        if (failCreate) {
            return QStringLiteral("No space left on device");
        }
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

    bool failCreate = false;
    bool failAppend = false;
    QStringList appends;

private:
    DiskTextFiles disk_;
};
