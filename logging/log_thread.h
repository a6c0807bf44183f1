#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

// The one thread that does the log's file work, so that a disk or share that hangs holds up
// nothing but the log. Work runs in the order asked; what it answers runs afterwards on the
// thread of `told`, unless that object is gone by then.
class LogThread {
public:
    // Runs on the thread of `told`.
    using Answer = std::function<void()>;
    // Runs on the log's thread.
    using Work = std::function<Answer()>;

    explicit LogThread(QObject* told);
    // A thread caught in a call that does not return is left to it: it holds what it uses, and
    // the process ends around it.
    ~LogThread();
    LogThread(const LogThread&) = delete;
    LogThread& operator=(const LogThread&) = delete;

    void run(Work work);
    // Whether all the work asked for was done within `limit`.
    bool waitDone(std::chrono::milliseconds limit);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
