#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

#include "platform/end_requests.h"

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
int wakeUp[2] = {-1, -1};  // written by the handler, read by the notifier

// Only what is safe in a signal handler: one byte into a socket that never blocks, and the
// default action back for the next signal of this kind.
void onSignal(int signal) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    errno = saved;
}

void setHandler(void (*handler)(int)) {
    for (const int signal : kEndSignals) {
        struct sigaction before {};
        sigaction(signal, nullptr, &before);
        if (signal == SIGHUP && before.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0) {
        qWarning("Ending by signal cannot be handled: %s", qPrintable(qt_error_string(errno)));
        return;
    }
    ::fcntl(wakeUp[0], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        if (::read(wakeUp[1], bytes, sizeof bytes) > 0) {
            emit endRequested();
        }
    });
    setHandler(onSignal);
}

EndRequests::~EndRequests() {
    if (wakeUp[0] < 0) {
        return;
    }
    setHandler(SIG_DFL);
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

void EndRequests::leaveToOtherThreads() {
    sigset_t ends;
    sigemptyset(&ends);
    for (const int signal : kEndSignals) {
        sigaddset(&ends, signal);
    }
    pthread_sigmask(SIG_BLOCK, &ends, nullptr);
}
