#include "platform/qt_serial_port.h"

#include <QFileInfo>

#include "platform/serial_device.h"
#include "platform/settings_store.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

// In the order of the enumerations of PortSettings.
QSerialPort::Parity toQt(PortSettings::Parity parity) {
    static constexpr QSerialPort::Parity kParity[] = {
        QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
        QSerialPort::MarkParity, QSerialPort::SpaceParity};
    return kParity[static_cast<int>(parity)];
}

QSerialPort::StopBits toQt(PortSettings::StopBits stopBits) {
    static constexpr QSerialPort::StopBits kStopBits[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    return kStopBits[static_cast<int>(stopBits)];
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

// Where the user names the device that a port number opens.
QString mappingHint(int number) {
    return QStringLiteral("name the device of port %1 under [Ports] COM%1 in %2")
        .arg(number)
        .arg(settings_store::location());
}

// Bytes the driver has taken but not yet put on the line.
qint64 driverQueue(const QSerialPort& port) {
#ifdef Q_OS_WIN
    COMSTAT status{};
    DWORD errors = 0;
    return ClearCommError(port.handle(), &errors, &status) ? status.cbOutQue : 0;
#else
    int queued = 0;
    return ::ioctl(static_cast<int>(port.handle()), TIOCOUTQ, &queued) == 0 ? queued : 0;
#endif
}

// QSerialPort says "permission denied" both for a device the user may not open and for one that
// another program holds (its lock file, or an exclusive open); the device's own permissions tell
// them apart.
QString refusalReason(const QString& device) {
#ifndef Q_OS_WIN
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        return QStringLiteral(
                   "no permission to open %1; add your user to the dialout group (sudo adduser "
                   "$USER dialout) and log in again")
            .arg(device);
    }
#endif
    return QStringLiteral("%1 is busy: another program holds it").arg(device);
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
    setReadBufferSize(kDefaultReadBuffer);
}

void QtSerialPort::setReadBufferSize(qint64 bytes) {
    port_.setReadBufferSize(bytes);
}

PortResult QtSerialPort::setPortNumber(int number) {
    if (number < 1 || number > kHighestPortNumber) {
        return PortError{
            kUnusablePort,
            QStringLiteral("port number %1 is outside 1..%2").arg(number).arg(kHighestPortNumber)};
    }
    number_ = number;
    return {};
}

PortResult QtSerialPort::setSettings(const QString& text) {
    const auto parsed = parsePortSettings(text);
    if (!parsed) {
        return PortError{kInvalidSettings,
                         QStringLiteral("the Port Settings \"%1\" cannot be used: give baud rate, "
                                        "parity, data bits and stop bits, e.g. 19200,N,8,1")
                             .arg(text)};
    }
    const CallerReports guard(callerReports_);
    if (!apply(port_, *parsed)) {
        PortError refused{
            kInvalidSettings,
            QStringLiteral("%1 refuses the Port Settings \"%2\"").arg(device(), text)};
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
    return {};
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

QString QtSerialPort::device() const {
    return settings_store::deviceForPort(number_);
}

PortResult QtSerialPort::open() {
    if (port_.isOpen()) {
        return {};
    }
    const QString device = this->device();
#ifndef Q_OS_WIN
    if (!QFileInfo::exists(device)) {
        return PortError{kUnusablePort,
                         QStringLiteral("no device at %1; %2").arg(device, mappingHint(number_))};
    }
#endif
    const CallerReports guard(callerReports_);
    port_.setPortName(device);
    apply(port_, parsed_);
    if (port_.open(QIODevice::ReadWrite)) {
        return {};
    }
    if (serial_device::isNotSerial(device)) {
        port_.clearError();
        return PortError{
            kNotSerialDevice,
            QStringLiteral("%1 is not a serial device; %2").arg(device, mappingHint(number_))};
    }
    PortError failure = lastError(kDeviceFailure);
    switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
        // A device node without hardware behind it, such as a ttyS of an absent UART.
        case QSerialPort::ResourceError:
            failure = {kUnusablePort, QStringLiteral("%1 is no usable serial port; %2")
                                          .arg(device, mappingHint(number_))};
            break;
        case QSerialPort::UnsupportedOperationError:
            failure = {
                kInvalidSettings,
                QStringLiteral("%1 refuses the Port Settings \"%2\"").arg(device, settings_)};
            break;
        case QSerialPort::PermissionError:
            failure.reason = refusalReason(device);
            break;
        default:
            break;
    }
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
        return {};
    }
    const PortError failure = lastError(kDeviceFailure);
    close();
    return failure;
}

qint64 QtSerialPort::bytesWaitingToSend() const {
    return port_.isOpen() ? port_.bytesToWrite() + driverQueue(port_) : 0;
}

// QSerialPort words a vanished device by whatever call failed on it last ("Inappropriate ioctl
// for device" for a USB adapter pulled out on Linux), which tells the user nothing.
PortError QtSerialPort::lastError(int number) const {
    const QString why = port_.isOpen() && serial_device::isRemoved(port_)
                            ? QStringLiteral("device removed")
                            : port_.errorString();
    return PortError{number, QStringLiteral("%1: %2").arg(device(), why)};
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || callerReports_ || !port_.isOpen()) {
        return;
    }
    const PortError failure = lastError(kDeviceFailure);
    close();
    emit failed(failure);
}
