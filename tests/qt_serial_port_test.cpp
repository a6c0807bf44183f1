#include "platform/qt_serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <cerrno>

#include "support/pty.h"

namespace {

using test_support::mapPort;
using test_support::PtyDevice;

constexpr int kPort = 7;

class QtSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.isOpen()); }

    QByteArray readFromPort(QtSerialPort& port, qsizetype size) {
        QByteArray received;
        static_cast<void>(QTest::qWaitFor([&] {
            received += port.readAll();
            return received.size() >= size;
        }));
        return received;
    }

    PtyDevice device{kPort};
};

QByteArray everyByte() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

TEST_F(QtSerialPortTest, PassesEveryByteUnchangedBothWays) {
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.setSettings(QStringLiteral("19200,N,8,1")));
    ASSERT_FALSE(port.open());
    QSignalSpy received(&port, &SerialPort::dataReceived);

    const QByteArray bytes = everyByte() + "\r\n\n\r";
    ASSERT_TRUE(device.pty().write(bytes));
    EXPECT_EQ(readFromPort(port, bytes.size()), bytes);
    EXPECT_GE(received.count(), 1);

    ASSERT_FALSE(port.write(bytes));
    EXPECT_EQ(device.pty().readUntil([&](const QByteArray& b) { return b.size() >= bytes.size(); }),
              bytes);
}

TEST_F(QtSerialPortTest, WrittenBytesSurviveAnImmediateClose) {
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.open());
    ASSERT_FALSE(port.write("1500.00\r\n"));
    port.close();
    EXPECT_EQ(device.pty().readUntil([](const QByteArray& b) { return b.size() >= 9; }),
              "1500.00\r\n");
}

// A receiver that has not taken what was sent before: the device's buffer is full. The port
// stays open, holds the bytes and sends them once there is room.
TEST_F(QtSerialPortTest, AFullDeviceBufferHoldsTheBytesBack) {
    const int filler = ::open(QFile::encodeName(device.pty().slavePath()).constData(),
                              O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(filler, 0);
    const auto closeFiller = qScopeGuard([filler] { ::close(filler); });
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.open());
    QSignalSpy failures(&port, &SerialPort::failed);

    const QByteArray junk(256, 'j');
    qsizetype buffered = 0;
    for (ssize_t n = 0; n >= 0; n = ::write(filler, junk.constData(), junk.size())) {
        buffered += n;
    }
    ASSERT_EQ(errno, EAGAIN);
    EXPECT_FALSE(port.write("1500.00\r\n"));
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.bytesWaitingToSend(), 9);

    const QByteArray received =
        device.pty().readUntil([&](const QByteArray& b) { return b.size() >= buffered + 9; });
    EXPECT_TRUE(received.endsWith("1500.00\r\n"));
    EXPECT_EQ(received.size(), buffered + 9);
    EXPECT_EQ(port.bytesWaitingToSend(), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(failures.count(), 0);
}

TEST_F(QtSerialPortTest, PortNumbersOutside1To32767AreUnusable) {
    QtSerialPort port;
    for (const int number : {0, -1, 32768, -32768}) {
        const PortResult result = port.setPortNumber(number);
        ASSERT_TRUE(result.has_value()) << number;
        EXPECT_EQ(result->number, SerialPort::kUnusablePort) << number;
    }
    EXPECT_EQ(port.portNumber(), 1);
    EXPECT_FALSE(port.setPortNumber(32767));
    EXPECT_EQ(port.portNumber(), 32767);
}

TEST_F(QtSerialPortTest, ANumberWithoutDeviceIsUnusableAtOpen) {
    mapPort(kPort + 1, device.path() + QStringLiteral("-missing"));
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort + 1));
    const PortResult result = port.open();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->number, SerialPort::kUnusablePort);
    EXPECT_TRUE(result->reason.contains(QStringLiteral("-missing")))
        << result->reason.toStdString();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(QtSerialPortTest, RefusedSettingsLeaveTheOldOnesAndTheOpenPort) {
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.setSettings(QStringLiteral("4800,N,8,1")));
    ASSERT_FALSE(port.open());

    const PortResult result = port.setSettings(QStringLiteral("4800,X,8,1"));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->number, SerialPort::kInvalidSettings);
    EXPECT_EQ(port.settings(), QStringLiteral("4800,N,8,1"));
    EXPECT_TRUE(port.isOpen());

    EXPECT_FALSE(port.setSettings(QStringLiteral("9600,N,8,2")));
    EXPECT_EQ(port.settings(), QStringLiteral("9600,N,8,2"));
    EXPECT_TRUE(port.isOpen());
}

TEST_F(QtSerialPortTest, OpeningAnOpenPortChangesNothing) {
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.open());
    EXPECT_FALSE(port.open());
    ASSERT_TRUE(device.pty().write("abc"));
    EXPECT_EQ(readFromPort(port, 3), "abc");
}

TEST_F(QtSerialPortTest, ASecondOpenOfTheSameDeviceFailsAsBusy) {
    QtSerialPort first;
    QtSerialPort second;
    ASSERT_FALSE(first.setPortNumber(kPort));
    ASSERT_FALSE(second.setPortNumber(kPort));
    ASSERT_FALSE(first.open());

    const PortResult result = second.open();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->number, SerialPort::kDeviceFailure);
    EXPECT_FALSE(result->reason.isEmpty());
    EXPECT_FALSE(second.isOpen());

    ASSERT_TRUE(device.pty().write("still here"));
    EXPECT_EQ(readFromPort(first, 10), "still here");
}

TEST_F(QtSerialPortTest, AVanishedDeviceClosesThePortAndIsReportedOnce) {
    QtSerialPort port;
    ASSERT_FALSE(port.setPortNumber(kPort));
    ASSERT_FALSE(port.open());
    QSignalSpy failed(&port, &SerialPort::failed);

    device.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }));
    for (int round = 0; round < 20; ++round) {  // lets any further error notifications arrive
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).value<PortError>().number, SerialPort::kDeviceFailure);

    const PortResult whileGone = port.open();
    ASSERT_TRUE(whileGone.has_value());
    EXPECT_EQ(whileGone->number, SerialPort::kUnusablePort);

    device.plugIn();
    ASSERT_FALSE(port.open());
    ASSERT_TRUE(device.pty().write("back"));
    EXPECT_EQ(readFromPort(port, 4), "back");
}

}  // namespace
