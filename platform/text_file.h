#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

// Why the file could not be written, unless ok().
using FileResult = Result<QString>;

// The name of the text encoding of the system locale (the code page on Windows, the codeset of
// the process locale elsewhere). A locale whose encoding cannot hold the degree sign, such as
// the plain 7-bit C locale, gives UTF-8, as Qt itself assumes there.
QByteArray systemTextEncoding();

// The text in the named encoding (UTF-8 for a name Qt does not know); characters that the
// encoding lacks become substitutes.
QByteArray encodeText(const QString& text, const QByteArray& encoding);

// Text files as the log uses them: whole writes, each flushed to disk before it counts as done.
class TextFiles {
public:
    virtual ~TextFiles() = default;
    // Creates the file, replacing one of that name, holding exactly the text.
    virtual FileResult create(const QString& path, const QString& text) = 0;
    // Adds the text to the end of an existing file. A missing file is an error, not created: a
    // log whose file was moved away must not start again headerless in its place. On failure
    // the file keeps its earlier content, so that a retry does not write a line twice.
    virtual FileResult append(const QString& path, const QString& text) = 0;
    virtual bool exists(const QString& path) = 0;
    // Creates the folder and those above it that are missing.
    virtual bool makeFolder(const QString& path) = 0;
    // Whether the file is there and holds at least one byte.
    virtual bool hasContent(const QString& path) = 0;
};

// Files on disk, in the given encoding.
class DiskTextFiles : public TextFiles {
public:
    explicit DiskTextFiles(QByteArray encoding = systemTextEncoding())
        : encoding_(std::move(encoding)) {}

    FileResult create(const QString& path, const QString& text) override;
    FileResult append(const QString& path, const QString& text) override;
    bool exists(const QString& path) override;
    bool makeFolder(const QString& path) override;
    bool hasContent(const QString& path) override;

private:
    QByteArray encoding_;
};
