#include "support/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cerrno>

namespace test_support {

Pty::Pty() {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slave_, nullptr, &raw, nullptr) != 0) {
        return;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(ttyname(slave_));
}

Pty::~Pty() {
    if (isOpen()) {
        ::close(master_);
        ::close(slave_);
    }
}

bool Pty::write(QByteArrayView bytes) {
    qsizetype done = 0;
    const auto writeSome = [&] {
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                return errno != EAGAIN && errno != EINTR;  // a real error ends the wait
            }
            done += n;
        }
        return true;
    };
    return QTest::qWaitFor(writeSome, 10000) && done == bytes.size();
}

QByteArray Pty::readUntil(const std::function<bool(const QByteArray&)>& enough) {
    QByteArray collected;
    char chunk[4096];
    const auto readSome = [&] {
        for (ssize_t n = 0; (n = ::read(master_, chunk, sizeof chunk)) > 0;) {
            collected.append(chunk, n);
        }
        return enough(collected);
    };
    static_cast<void>(QTest::qWaitFor(readSome, 10000));
    return collected;
}

// The link goes with the terminal, as a USB adapter's device node does: left dangling, it
// could come to name a terminal that another process opens later.
void PtyDevice::unplug() {
    QFile::remove(path());
    pty_.reset();
}

void PtyDevice::plugIn() {
    pty_ = std::make_unique<Pty>();
    QFile::remove(path());
    QFile::link(pty_->slavePath(), path());
}

}  // namespace test_support
