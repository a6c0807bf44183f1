#include <windows.h>

#include <QTest>

#include "support/pty.h"

// Windows has no pseudo-terminals. Under Wine, tests/wine_com_test.sh joins two COM ports through
// a pair of them outside Wine and names the ports in SONDREL_TEST_LINE, "COM21:COM22": the
// program opens the first, the test holds the second. Without it no terminal is open. Wine
// completes plain reads on a COM port, not the waits that QSerialPort reads with, so the test's
// side reads with ReadFile, never waiting.
namespace test_support {
namespace {

// Kernel handles fit into 32 bits, and sign extension gives them back.
HANDLE handleOf(int stored) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(stored));
}

int stored(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}

}  // namespace

Pty::Pty() {
    const QStringList ports = qEnvironmentVariable("SONDREL_TEST_LINE").split(u':');
    if (ports.size() != 2) {
        return;
    }
    const QString testSide = QStringLiteral("\\\\.\\") + ports.at(1);
    const HANDLE line =
        CreateFileW(reinterpret_cast<const wchar_t*>(testSide.utf16()),
                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    COMMTIMEOUTS immediately{};
    immediately.ReadIntervalTimeout = MAXDWORD;
    if (line == INVALID_HANDLE_VALUE || !SetCommTimeouts(line, &immediately)) {
        return;
    }
    master_ = stored(line);
    slavePath_ = ports.at(0);
}

Pty::~Pty() {
    if (isOpen()) {
        CloseHandle(handleOf(master_));
    }
}

bool Pty::write(QByteArrayView bytes) {
    qsizetype done = 0;
    const auto writeSome = [&] {
        DWORD written = 0;
        if (!WriteFile(handleOf(master_), bytes.data() + done,
                       static_cast<DWORD>(bytes.size() - done), &written, nullptr)) {
            return true;  // a real error ends the wait
        }
        done += written;
        return done == bytes.size();
    };
    return QTest::qWaitFor(writeSome, 10000) && done == bytes.size();
}

QByteArray Pty::readUntil(const std::function<bool(const QByteArray&)>& enough) {
    QByteArray collected;
    char chunk[4096];
    const auto readSome = [&] {
        DWORD count = 0;
        while (ReadFile(handleOf(master_), chunk, sizeof chunk, &count, nullptr) && count > 0) {
            collected.append(chunk, count);
        }
        return enough(collected);
    };
    static_cast<void>(QTest::qWaitFor(readSome, 10000));
    return collected;
}

// The port number opens the program's side directly: Windows names devices without links. The
// ports stay joined while the test runs, so nothing is pulled out here.
void PtyDevice::unplug() {
    pty_.reset();
}

void PtyDevice::plugIn() {
    pty_ = std::make_unique<Pty>();
    if (link_.portNumber > 0 && pty_->isOpen()) {
        mapPort(link_.portNumber, pty_->slavePath());
    }
}

}  // namespace test_support
