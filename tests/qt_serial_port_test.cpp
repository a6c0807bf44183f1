#include "platform/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/pty.h"

namespace {

constexpr int kPort = 7;

class QtSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.isOpen());
        ASSERT_FALSE(port.setPortNumber(kPort));
    }

    // Sends from the device and reads at the port until the bytes have come.
    QByteArray roundTrip(QtSerialPort& receiver, const QByteArray& bytes) {
        QByteArray received;
        EXPECT_TRUE(device.pty().write(bytes));
        static_cast<void>(QTest::qWaitFor([&] {
            received += receiver.readAll();
            return received.size() >= bytes.size();
        }));
        return received;
    }

    test_support::PtyDevice device{kPort};
    QtSerialPort port;
};

// Bytes written just before the port closes still reach the device.
TEST_F(QtSerialPortTest, PassesEveryByteUnchangedBothWaysAndLosesNoneOnClose) {
    ASSERT_FALSE(port.setSettings(QStringLiteral("19200,N,8,1")));
    ASSERT_FALSE(port.open());
    QSignalSpy received(&port, &SerialPort::dataReceived);
    QByteArray bytes = "\r\n\n\r";
    for (int value = 0; value < 256; ++value) {
        bytes.append(static_cast<char>(value));
    }
    EXPECT_EQ(roundTrip(port, bytes), bytes);
    EXPECT_GE(received.count(), 1);

    ASSERT_FALSE(port.write(bytes));
    port.close();
    EXPECT_EQ(device.pty().readUntil([&](const QByteArray& b) { return b.size() >= bytes.size(); }),
              bytes);
}

TEST_F(QtSerialPortTest, ASecondOpenOfTheSameDeviceFailsAsBusy) {
    QtSerialPort second;
    ASSERT_FALSE(second.setPortNumber(kPort));
    ASSERT_FALSE(port.open());
    const PortResult result = second.open();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->number, SerialPort::kDeviceFailure);
    EXPECT_FALSE(second.isOpen());
    EXPECT_EQ(roundTrip(port, "still here"), "still here");
}

}  // namespace
