#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/settings_store.h"

// The settings store's file on disk, put into states that only a hand edit, a crash or a
// broken disk leave behind. Each state is dated a second after the one before: the settings
// layer keeps files it has read and reads one again only when its date or size has changed.
namespace test_support {

class SettingsFile {
public:
    SettingsFile() : path_(settings_store::location()), folder_(QFileInfo(path_).path()) {
        clear();
    }
    ~SettingsFile() { clear(); }
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    QString path() const { return path_; }

    // The file holds exactly these bytes.
    bool write(const QByteArray& bytes) {
        clear();
        static QDateTime stamp = QDateTime::currentDateTime().addDays(-1);
        stamp = stamp.addSecs(1);
        QFile file(path_);
        return QDir().mkpath(folder_) && file.open(QIODevice::WriteOnly) &&
               file.write(bytes) == bytes.size() && file.flush() &&
               file.setFileTime(stamp, QFileDevice::FileModificationTime);
    }
    // A folder stands where the file should be, so it can be neither read nor written.
    bool makeFolderInItsPlace() {
        clear();
        return QDir().mkpath(path_);
    }
    // A file stands where the file's folder should be: nothing can be written there.
    bool makeFileInPlaceOfItsFolder() {
        clear();
        QFile file(folder_);
        return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
    }
    QByteArray bytes() const {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Neither the file nor its folder, as at a first start.
    void clear() {
        if (QFileInfo(folder_).isDir()) {
            QDir(folder_).removeRecursively();
        } else {
            QFile::remove(folder_);
        }
    }

private:
    QString path_;
    QString folder_;
};

}  // namespace test_support
