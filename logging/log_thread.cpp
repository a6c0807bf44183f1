#include "logging/log_thread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/end_requests.h"

struct LogThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Work> work;
    bool working = false;
    // Set when the object told is about to go: nothing is told to it from then on.
    bool ended = false;
    QObject* told = nullptr;
    std::thread thread;
};

LogThread::LogThread(QObject* told) : shared_(std::make_shared<Shared>()) {
    shared_->told = told;
    shared_->thread = std::thread([shared = shared_] {
        EndRequests::leaveToOtherThreads();
        for (;;) {
            std::unique_lock lock(shared->mutex);
            shared->changed.wait(lock, [&] { return shared->ended || !shared->work.empty(); });
            if (shared->ended) {
                return;
            }
            const Work work = std::move(shared->work.front());
            shared->work.pop_front();
            shared->working = true;
            lock.unlock();
            const Answer answer = work();
            lock.lock();
            shared->working = false;
            // Posted under the lock, so that the object told cannot go while it is told.
            if (!shared->ended && answer) {
                QMetaObject::invokeMethod(shared->told, answer, Qt::QueuedConnection);
            }
            shared->changed.notify_all();
        }
    });
}

LogThread::~LogThread() {
    bool working = false;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->ended = true;
        working = shared_->working;
        shared_->changed.notify_all();
    }
    if (working) {
        shared_->thread.detach();
    } else {
        shared_->thread.join();
    }
}

void LogThread::run(Work work) {
    const std::lock_guard lock(shared_->mutex);
    shared_->work.push_back(std::move(work));
    shared_->changed.notify_all();
}

bool LogThread::waitDone(std::chrono::milliseconds limit) {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, limit,
                                     [&] { return !shared_->working && shared_->work.empty(); });
}
