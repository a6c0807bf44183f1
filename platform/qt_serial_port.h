#pragma once

#include <QSerialPort>

#include "platform/serial_port.h"

// The serial port over QSerialPort. Port number N opens the device that the settings store
// maps it to. Any error while open closes the port at once: QSerialPort otherwise repeats
// errorOccurred hundreds of thousands of times a second once a device has vanished.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);

    PortResult setPortNumber(int number) override;
    int portNumber() const override { return number_; }
    PortResult setSettings(const QString& text) override;
    QString settings() const override { return settings_; }

    bool isOpen() const override;
    PortResult open() override;
    void close() override;

    QByteArray readAll() override;
    PortResult write(const QByteArray& bytes) override;

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    int number_ = 1;
    QString settings_;
};
