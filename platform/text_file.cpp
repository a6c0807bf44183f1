#include "platform/text_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>
#endif

namespace {

// The files are opened as plain descriptors: that gives "append only to an existing file"
// without a race between a check and the open, and a descriptor that can be synced to disk.
#ifdef Q_OS_WIN
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY;
constexpr int kAppendFlags = _O_WRONLY | _O_APPEND | _O_BINARY;
int openDescriptor(const QString& path, int flags) {
    return _wopen(reinterpret_cast<const wchar_t*>(path.utf16()), flags, _S_IREAD | _S_IWRITE);
}
void closeDescriptor(int fd) {
    _close(fd);
}
bool syncDescriptor(int fd) {
    return _commit(fd) == 0;
}
#else
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
constexpr int kAppendFlags = O_WRONLY | O_APPEND | O_CLOEXEC;
int openDescriptor(const QString& path, int flags) {
    return ::open(QFile::encodeName(path).constData(), flags, 0666);
}
void closeDescriptor(int fd) {
    ::close(fd);
}
bool syncDescriptor(int fd) {
    return ::fsync(fd) == 0;
}
#endif

// Takes over the open descriptor: writes the bytes at the end of its file, syncs them to disk and
// closes it. On failure the file is cut back to its earlier size.
FileResult writeAndSync(int fd, const QByteArray& bytes) {
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        const QString why = file.errorString();
        closeDescriptor(fd);
        return why;
    }
    const qint64 before = file.size();
    if (file.write(bytes) == bytes.size() && file.flush()) {
        if (syncDescriptor(fd)) {
            return std::nullopt;
        }
        const QString why = qt_error_string(errno);
        file.resize(before);
        return why;
    }
    const QString why = file.errorString();
    file.resize(before);
    return why;
}

}  // namespace

QByteArray systemTextEncoding() {
#ifdef Q_OS_WIN
    return QStringConverter::nameForEncoding(QStringConverter::System);
#else
    // Qt takes UTF-8 for the local 8-bit text on every Unix; the log follows the locale that the
    // user actually set, so that a Latin-1 desktop reads its log with its own code page.
    const QByteArray codeset = nl_langinfo(CODESET);
    const QString degree = QStringLiteral("\u00B0");
    QStringEncoder encoder(codeset.constData());
    QStringDecoder decoder(codeset.constData());
    if (encoder.isValid() && decoder.isValid()) {
        const QString back = decoder.decode(encoder.encode(degree));
        if (back == degree) {
            return codeset;
        }
    }
    return QByteArrayLiteral("UTF-8");
#endif
}

QByteArray encodeText(const QString& text, const QByteArray& encoding) {
    QStringEncoder encoder(encoding.constData());
    if (!encoder.isValid()) {
        encoder = QStringEncoder(QStringConverter::Utf8);
    }
    return encoder.encode(text);
}

FileResult DiskTextFiles::create(const QString& path, const QString& text) {
    const int fd = openDescriptor(path, kCreateFlags);
    if (fd < 0) {
        return qt_error_string(errno);
    }
    FileResult result = writeAndSync(fd, encodeText(text, encoding_));
    if (result) {
        QFile::remove(path);
    }
    return result;
}

FileResult DiskTextFiles::append(const QString& path, const QString& text) {
    const int fd = openDescriptor(path, kAppendFlags);
    if (fd < 0) {
        return qt_error_string(errno);
    }
    return writeAndSync(fd, encodeText(text, encoding_));
}
