#include "platform/qt_serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "support/pty.h"

namespace {

constexpr int kPort = 7;

class QtSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.isOpen());
        ASSERT_TRUE(port.setPortNumber(kPort).ok());
    }
    // What the port has sent to the device, once `count` bytes have come.
    QByteArray readAtLeast(qsizetype count) {
        return device.pty().readUntil([&](const QByteArray& b) { return b.size() >= count; });
    }

    test_support::PtyDevice device{kPort};
    QtSerialPort port;
};

// Every byte value passes both ways; a second open of the device fails as busy and leaves the
// first working; bytes written just before the port closes still reach the device.
TEST_F(QtSerialPortTest, PassesEveryByteBothWaysIsExclusiveAndLosesNoneOnClose) {
    ASSERT_TRUE(port.setSettings(QStringLiteral("19200,N,8,1")).ok());
    ASSERT_TRUE(port.open().ok());
    QSignalSpy received(&port, &SerialPort::dataReceived);
    QByteArray bytes = "\r\n\n\r";
    for (int value = 0; value < 256; ++value) {
        bytes.append(static_cast<char>(value));
    }
    ASSERT_TRUE(device.pty().write(bytes));
    QByteArray read;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (read += port.readAll()).size() >= bytes.size(); }));
    EXPECT_EQ(read, bytes);
    EXPECT_GE(received.count(), 1);

    QtSerialPort second;
    ASSERT_TRUE(second.setPortNumber(kPort).ok());
    const PortResult busy = second.open();
    ASSERT_FALSE(busy.ok());
    EXPECT_EQ(busy.error().number, SerialPort::kDeviceFailure);
    EXPECT_FALSE(second.isOpen());

    ASSERT_TRUE(port.write(bytes).ok());
    port.close();
    EXPECT_EQ(readAtLeast(bytes.size()), bytes);
}

// A receiver that has not taken what was sent before: the device's buffer is full. The port
// stays open, holds the bytes and sends them once there is room.
TEST_F(QtSerialPortTest, AFullDeviceBufferHoldsTheBytesBack) {
    const int filler = ::open(QFile::encodeName(device.pty().slavePath()).constData(),
                              O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(filler, 0);
    const auto closeFiller = qScopeGuard([filler] { ::close(filler); });
    ASSERT_TRUE(port.open().ok());
    QSignalSpy failures(&port, &SerialPort::failed);
    const QByteArray junk(256, 'j');
    qsizetype buffered = 0;
    for (ssize_t n = 0; n >= 0; n = ::write(filler, junk.constData(), junk.size())) {
        buffered += n;
    }
    ASSERT_EQ(errno, EAGAIN);
    EXPECT_TRUE(port.write("1500.00\r\n").ok());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.bytesWaitingToSend(), 9);

    EXPECT_EQ(readAtLeast(buffered + 9), QByteArray(buffered, 'j') + "1500.00\r\n");
    EXPECT_EQ(port.bytesWaitingToSend(), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(failures.count(), 0);
}

// A device that goes while open is told as removed, not by the call that found it gone. What is
// there but no serial device says so, and is told apart from a device that is missing.
TEST_F(QtSerialPortTest, TellsARemovedDeviceAndOneThatIsNoSerialDevice) {
    ASSERT_TRUE(port.open().ok());
    QString removed;
    QObject::connect(&port, &SerialPort::failed,
                     [&removed](const PortError& error) { removed = error.reason; });
    device.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !removed.isEmpty(); }));
    EXPECT_TRUE(removed.endsWith(": device removed")) << removed.toStdString();

    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    for (const QString& path : {QStringLiteral("/dev/null"), file, dir.path()}) {
        test_support::mapPort(kPort, path);
        const PortResult opened = port.open();
        ASSERT_FALSE(opened.ok()) << path.toStdString();
        EXPECT_EQ(opened.error().number, SerialPort::kNotSerialDevice) << path.toStdString();
        EXPECT_TRUE(opened.error().reason.startsWith(path + " is not a serial device"))
            << opened.error().reason.toStdString();
    }
    test_support::mapPort(kPort, dir.filePath(QStringLiteral("gone")));
    EXPECT_EQ(port.open().error().number, SerialPort::kUnusablePort);
}

}  // namespace
