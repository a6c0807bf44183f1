#include "tcp_client_endpoint.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "run_control.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kRetry(200);

}  // namespace

QString TcpClientEndpoint::path() const {
    return QStringLiteral("tcp-listen://:%1").arg(program_.port);
}

QString TcpClientEndpoint::where() const {
    return QStringLiteral("a TCP connection to %1").arg(program_.text());
}

void TcpClientEndpoint::seek(milliseconds wait) {
    const auto until = Clock::now() + wait;
    while (!connected()) {
        if (!attempt_ && Clock::now() >= nextAttempt_) {
            nextAttempt_ = Clock::now() + kRetry;
            attempt_ = std::make_unique<QTcpSocket>();
            attempt_->connectToHost(program_.address, program_.port);
        }
        const auto left = std::max(std::chrono::duration_cast<milliseconds>(until - Clock::now()),
                                   milliseconds::zero());
        if (attempt_) {
            pursue(left);
            if (attempt_->state() == QAbstractSocket::ConnectedState) {
                adopt(std::move(attempt_));
            } else if (attempt_->state() == QAbstractSocket::UnconnectedState) {
                attempt_.reset();
            }
        } else {
            run_control::pause(std::min(
                left, std::chrono::duration_cast<milliseconds>(nextAttempt_ - Clock::now())));
        }
        if (run_control::stopRequested() || Clock::now() >= until) {
            return;
        }
    }
}

// A connect in progress moves on only in an event loop: waitForConnected would give up on a far
// end that takes longer than one short wait to answer, and start again from nothing.
void TcpClientEndpoint::pursue(milliseconds wait) {
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    QObject::connect(attempt_.get(), &QAbstractSocket::stateChanged, &loop, &QEventLoop::quit);
    loop.exec();
}
