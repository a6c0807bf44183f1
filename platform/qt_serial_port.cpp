#include "platform/qt_serial_port.h"

#include <QFileInfo>

#include "platform/settings_store.h"

#ifndef Q_OS_WIN
#include <poll.h>
#endif

namespace {

QSerialPort::Parity toQt(PortSettings::Parity parity) {
    switch (parity) {
        case PortSettings::Parity::Odd:
            return QSerialPort::OddParity;
        case PortSettings::Parity::Even:
            return QSerialPort::EvenParity;
        case PortSettings::Parity::Mark:
            return QSerialPort::MarkParity;
        case PortSettings::Parity::Space:
            return QSerialPort::SpaceParity;
        case PortSettings::Parity::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(PortSettings::StopBits stopBits) {
    switch (stopBits) {
        case PortSettings::StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case PortSettings::StopBits::Two:
            return QSerialPort::TwoStop;
        case PortSettings::StopBits::One:
            break;
    }
    return QSerialPort::OneStop;
}

// On an open port each setter reconfigures the device and may fail; on a closed one they only
// remember the values for the next open.
bool apply(QSerialPort& port, const PortSettings& settings) {
    return port.setBaudRate(settings.baudRate) && port.setParity(toQt(settings.parity)) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
           port.setStopBits(toQt(settings.stopBits)) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}

// Whether the device has room for at least one byte now. QSerialPort takes a write into a
// device whose buffer is full (a receiver slower than what is sent) for a failure of the
// device; bytes it holds back meanwhile go out once the device has room again.
bool deviceHasRoom(const QSerialPort& port) {
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return true;
#else
    pollfd device{static_cast<int>(port.handle()), POLLOUT, 0};
    return ::poll(&device, 1, 0) == 1 && (device.revents & POLLOUT) != 0;
#endif
}

// Keeps QSerialPort's errors with the call that caused them for as long as it runs.
class CallerReports {
public:
    explicit CallerReports(bool& flag) : flag_(flag) { flag_ = true; }
    ~CallerReports() { flag_ = false; }
    CallerReports(const CallerReports&) = delete;
    CallerReports& operator=(const CallerReports&) = delete;

private:
    bool& flag_;
};

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::dataReceived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

PortResult QtSerialPort::setPortNumber(int number) {
    if (number < 1 || number > kHighestPortNumber) {
        return PortError{
            kUnusablePort,
            QStringLiteral("port number %1 is outside 1..%2").arg(number).arg(kHighestPortNumber)};
    }
    number_ = number;
    return std::nullopt;
}

PortResult QtSerialPort::setSettings(const QString& text) {
    const auto parsed = parsePortSettings(text);
    if (!parsed) {
        return PortError{kInvalidSettings, QStringLiteral("unusable port settings \"%1\" (expected "
                                                          "baud rate, parity, data bits, stop "
                                                          "bits, e.g. 19200,N,8,1)")
                                               .arg(text)};
    }
    const CallerReports guard(callerReports_);
    if (!apply(port_, *parsed)) {
        PortError refused{kInvalidSettings, QStringLiteral("the device refused \"%1\"").arg(text)};
        if (port_.error() != QSerialPort::NoError) {
            refused.reason += QStringLiteral(": ") + port_.errorString();
        }
        port_.clearError();
        apply(port_, parsed_);
        port_.clearError();
        return refused;
    }
    settings_ = text;
    parsed_ = *parsed;
    return std::nullopt;
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

PortResult QtSerialPort::open() {
    if (port_.isOpen()) {
        return std::nullopt;
    }
    const QString device = settings_store::deviceForPort(number_);
#ifndef Q_OS_WIN
    if (!QFileInfo::exists(device)) {
        return PortError{kUnusablePort, QStringLiteral("port %1: no device at %2 (map the number "
                                                       "to a device under [Ports] in %3)")
                                            .arg(number_)
                                            .arg(device, settings_store::location())};
    }
#endif
    const CallerReports guard(callerReports_);
    port_.setPortName(device);
    apply(port_, parsed_);
    if (port_.open(QIODevice::ReadWrite)) {
        return std::nullopt;
    }
    PortError failure = lastError(kDeviceFailure);
    switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
        // A device node without hardware behind it, such as a ttyS of an absent UART.
        case QSerialPort::ResourceError:
            failure.number = kUnusablePort;
            break;
        case QSerialPort::UnsupportedOperationError:
            failure.number = kInvalidSettings;
            break;
        default:
            break;
    }
    failure.reason = QStringLiteral("port %1 (%2): %3").arg(number_).arg(device, failure.reason);
    port_.clearError();
    return failure;
}

void QtSerialPort::close() {
    port_.close();
    port_.clearError();
}

QByteArray QtSerialPort::readAll() {
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

PortResult QtSerialPort::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        return PortError{kDeviceFailure, QStringLiteral("port %1 is not open").arg(number_)};
    }
    const CallerReports guard(callerReports_);
    const qint64 written = port_.write(bytes);
    // Hands the bytes to the device now, without waiting for them to leave: a close right
    // after the write would otherwise drop what QSerialPort still buffers.
    if (deviceHasRoom(port_)) {
        port_.flush();
    }
    if (written == bytes.size() && port_.error() == QSerialPort::NoError) {
        return std::nullopt;
    }
    const PortError failure = lastError(kDeviceFailure);
    close();
    return failure;
}

PortError QtSerialPort::lastError(int number) const {
    return PortError{number, port_.errorString()};
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || callerReports_ || !port_.isOpen()) {
        return;
    }
    const PortError failure{kDeviceFailure,
                            QStringLiteral("port %1: %2").arg(number_).arg(port_.errorString())};
    close();
    emit failed(failure);
}
