#pragma once

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/text_file.h"

// Real UTF-8 files on disk whose appends can be told to fail, as a full disk or a lost drive
// would, or to hang until released, as a share that stopped answering does. Records the text of
// every append it was asked for. The log's thread calls it while the test sets it.
class FailingTextFiles : public TextFiles {
public:
    FileResult create(const QString& path, const QString& text) override {
        return disk_.create(path, text);
    }
    FileResult append(const QString& path, const QString& text) override {
        {
            const std::lock_guard lock(mutex_);
            appends.append(text);
        }
        waitWhileHeld();
        if (failAppend) {
            return QStringLiteral("No space left on device");
        }
        return disk_.append(path, text);
    }
    bool exists(const QString& path) override { return disk_.exists(path); }
    bool makeFolder(const QString& path) override { return disk_.makeFolder(path); }
    bool hasContent(const QString& path) override { return disk_.hasContent(path); }

    // Every append waits from now on until release().
    void hold() {
        const std::lock_guard lock(mutex_);
        held_ = true;
    }
    void release() {
        const std::lock_guard lock(mutex_);
        held_ = false;
        released_.notify_all();
    }
    // A call is waiting at the hold.
    bool holding() const { return waiting_ > 0; }

    std::atomic<bool> failAppend = false;
    QStringList appends;

private:
    void waitWhileHeld() {
        std::unique_lock lock(mutex_);
        ++waiting_;
        released_.wait(lock, [this] { return !held_; });
        --waiting_;
    }

    DiskTextFiles disk_{QByteArrayLiteral("UTF-8")};
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    std::atomic<int> waiting_ = 0;
};
