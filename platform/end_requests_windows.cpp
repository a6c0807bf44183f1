#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMutex>
#include <QSemaphore>
#include <atomic>

#include "platform/end_requests.h"

namespace {

// Shared with the thread on which Windows calls the console handler.
QMutex currentLock;
EndRequests* current = nullptr;  // guarded by currentLock
std::atomic<bool> requested{false};
std::atomic<bool> interrupted{false};
// Released when the object goes, after the receivers of endRequested() have done their work.
QSemaphore done;

void requestEnd() {
    const QMutexLocker locked(&currentLock);
    if (current && !requested.exchange(true)) {
        QMetaObject::invokeMethod(current, &EndRequests::endRequested, Qt::QueuedConnection);
    }
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            // Returning FALSE leaves the second one to the default handler, which ends the
            // process at once.
            if (interrupted.exchange(true)) {
                return FALSE;
            }
            requestEnd();
            return TRUE;
        case CTRL_CLOSE_EVENT:
            // Windows ends the process as soon as this returns.
            requestEnd();
            done.acquire();
            return TRUE;
        default:
            return FALSE;
    }
}

// The end of the session reaches a program with windows as WM_ENDSESSION, sent to each of its
// top-level windows; once they have answered, Windows may end the process at any moment.
class SessionEnd : public QObject, public QAbstractNativeEventFilter {
public:
    explicit SessionEnd(EndRequests* requests) : QObject(requests), requests_(requests) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* msg = static_cast<const MSG*>(message);
        if (type != "windows_generic_MSG" || msg->message != WM_ENDSESSION || !msg->wParam) {
            return false;
        }
        if (!requested.exchange(true)) {
            emit requests_->endRequested();
        }
        // What the receivers queued is done before the message is answered.
        QCoreApplication::sendPostedEvents();
        return false;
    }

private:
    EndRequests* requests_;
};

}  // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent) {
    {
        const QMutexLocker locked(&currentLock);
        current = this;
    }
    if (QCoreApplication::instance()) {
        new SessionEnd(this);
    }
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

EndRequests::~EndRequests() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    {
        const QMutexLocker locked(&currentLock);
        current = nullptr;
    }
    done.release();
}

// Console events come on a thread of their own, whichever threads the program has.
void EndRequests::leaveToOtherThreads() {}
