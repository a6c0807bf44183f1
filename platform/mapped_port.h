#pragma once

#include <memory>

#include "platform/network_link.h"
#include "platform/qt_serial_port.h"

// The port the program opens: port number N opens what the settings store maps it to, a serial
// device or a link to a device server on the network ("tcp://10.0.0.5:4001"). The mapping is read
// at each open, as the device path always was. For a link the settings text is kept as typed but
// not applied: the device server sets its line.
class MappedPort : public SerialPort {
    Q_OBJECT
public:
    explicit MappedPort(QObject* parent = nullptr);

    PortResult setPortNumber(int number) override { return serial_.setPortNumber(number); }
    int portNumber() const override { return serial_.portNumber(); }
    PortResult setSettings(const QString& text) override { return serial_.setSettings(text); }
    QString settings() const override { return serial_.settings(); }
    QString device() const override { return serial_.device(); }

    bool isOpen() const override;
    bool isInUse() const override;
    PortResult open() override;
    void close() override;

    QByteArray readAll() override;
    PortResult write(const QByteArray& bytes) override;
    void setReadBufferSize(qint64 bytes) override;
    qint64 bytesWaitingToSend() const override;
    // A link only drops what it holds: its far end would otherwise have to connect again, and
    // what it sent meanwhile would be lost.
    PortResult restart() override;
    ConnectionState openState() const override;
    void setSilenceLimit(int ms) override;
    bool startsAtRecord() const override;

private:
    // The link the mapping names, made anew when the mapping changed; why it cannot be used
    // otherwise. Null without error for a device path.
    PortResult followMapping();

    QtSerialPort serial_;
    std::unique_ptr<NetworkLink> link_;
    qint64 readBuffer_ = QtSerialPort::kDefaultReadBuffer;
    int silenceMs_ = 0;
};
