#pragma once

#include <QSerialPort>

#include "platform/port_settings.h"
#include "platform/serial_port.h"

// The serial port over QSerialPort. Port number N opens the device that the settings store
// maps it to. Bytes pass unchanged in both directions. Any error while open closes the port at
// once and is reported by failed(): QSerialPort otherwise repeats errorOccurred hundreds of
// thousands of times a second once a device has vanished.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    // Unbounded, QSerialPort would keep whatever a device sends that nobody reads.
    static constexpr qint64 kDefaultReadBuffer = 64 * 1024;

    explicit QtSerialPort(QObject* parent = nullptr);

    // 1..32767; the number takes effect at the next open.
    PortResult setPortNumber(int number) override;
    int portNumber() const override { return number_; }
    // Applied at once when the port is open; refused text leaves the settings as they were.
    PortResult setSettings(const QString& text) override;
    QString settings() const override { return settings_; }
    QString device() const override;

    bool isOpen() const override;
    // Opening an open port does nothing and succeeds.
    PortResult open() override;
    void close() override;

    QByteArray readAll() override;
    PortResult write(const QByteArray& bytes) override;
    qint64 bytesWaitingToSend() const override;
    void setReadBufferSize(qint64 bytes) override;

private:
    void onError(QSerialPort::SerialPortError error);
    PortError lastError(int number) const;

    QSerialPort port_;
    int number_ = 1;
    QString settings_ = QStringLiteral("9600,N,8,1");
    PortSettings parsed_;  // what settings_ says
    // Set while a call of ours drives QSerialPort: that call reports the error to its caller,
    // so onError must neither close the port nor emit failed().
    bool callerReports_ = false;
};
