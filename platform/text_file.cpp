#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <system_error>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <algorithm>
#include <climits>
#else
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>
#endif

namespace {

// Why a call of the C library failed, from its errno: in words a user can act on where there
// are such, otherwise the system's. Qt's error text reads a Windows error code, which means
// something else for the same number (EACCES, 13, is "The data is invalid." there).
QString reasonOf(int error) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return QStringLiteral("disk full");
        case EACCES:
        case EPERM:
            return QStringLiteral("permission denied");
        case EROFS:
            return QStringLiteral("read-only disk");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("folder missing");
        default:
            return QString::fromLocal8Bit(std::generic_category().message(error));
    }
}

// The files are opened and written as plain descriptors: that gives "append only to an existing
// file" without a race between a check and the open, a descriptor that can be synced to disk,
// and no library buffer that keeps bytes a full disk refused (such a buffer is flushed again by
// every later call on the file, so the cut back to the earlier size would never happen).
#ifdef Q_OS_WIN
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY;
constexpr int kAppendFlags = _O_WRONLY | _O_APPEND | _O_BINARY;
int openDescriptor(const QString& path, int flags) {
    return _wopen(reinterpret_cast<const wchar_t*>(path.utf16()), flags, _S_IREAD | _S_IWRITE);
}
void closeDescriptor(int fd) {
    _close(fd);
}
qint64 sizeOf(int fd) {
    return _lseeki64(fd, 0, SEEK_END);
}
qint64 writeSome(int fd, const char* data, qint64 size) {
    return _write(fd, data, static_cast<unsigned>(std::min<qint64>(size, INT_MAX)));
}
void cutTo(int fd, qint64 size) {
    _chsize_s(fd, size);
}
// _commit sets errno to EBADF whatever went wrong; the reason is the Windows error it keeps.
FileResult syncDescriptor(int fd) {
    if (_commit(fd) == 0) {
        return {};
    }
    return qt_error_string(static_cast<int>(_doserrno));
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
qint64 sizeOf(int fd) {
    return ::lseek(fd, 0, SEEK_END);
}
qint64 writeSome(int fd, const char* data, qint64 size) {
    return ::write(fd, data, static_cast<std::size_t>(size));
}
void cutTo(int fd, qint64 size) {
    // Nothing more can be done when even this fails (a device that cannot be cut).
    [[maybe_unused]] const int ignored = ::ftruncate(fd, size);
}
FileResult syncDescriptor(int fd) {
    if (::fsync(fd) == 0) {
        return {};
    }
    return reasonOf(errno);
}
#endif

// Every byte, however many calls the system takes for it; the reason when one fails. A disk
// that fills up takes part of the bytes and then refuses the rest.
FileResult writeAll(int fd, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = writeSome(fd, bytes.constData() + done, bytes.size() - done);
        if (written > 0) {
            done += written;
        } else if (written == 0) {
            return QStringLiteral("the system wrote nothing");
        } else if (errno != EINTR) {
            return reasonOf(errno);
        }
    }
    return {};
}

// Takes over the open descriptor: writes the bytes at the end of its file, syncs them to disk and
// closes it. On failure the file is cut back to its earlier size.
FileResult writeAndSync(int fd, const QByteArray& bytes) {
    const qint64 before = sizeOf(fd);
    FileResult failure;
    if (before < 0) {
        failure = reasonOf(errno);
    } else {
        failure = writeAll(fd, bytes);
        if (failure.ok()) {
            failure = syncDescriptor(fd);
        }
        if (!failure.ok()) {
            cutTo(fd, before);
        }
    }
    closeDescriptor(fd);
    return failure;
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
        return reasonOf(errno);
    }
    FileResult result = writeAndSync(fd, encodeText(text, encoding_));
    if (!result.ok()) {
        QFile::remove(path);
    }
    return result;
}

FileResult DiskTextFiles::append(const QString& path, const QString& text) {
    const int fd = openDescriptor(path, kAppendFlags);
    if (fd < 0) {
        return errno == ENOENT ? QStringLiteral("file missing") : reasonOf(errno);
    }
    return writeAndSync(fd, encodeText(text, encoding_));
}

bool DiskTextFiles::exists(const QString& path) {
    return QFileInfo::exists(path);
}

bool DiskTextFiles::makeFolder(const QString& path) {
    return QDir().mkpath(path);
}

bool DiskTextFiles::hasContent(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}
