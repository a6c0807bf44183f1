#include "platform/port_connection.h"

#include "platform/number_text.h"
#include "platform/timer.h"

PortResult connectPort(SerialPort& port, const QString& portText, const QString& settingsText,
                       const std::function<void(const QString&)>& chosen) {
    if (port.isOpen()) {
        port.close();
    }
    const auto number = number_text::parseInt16(portText);
    if (!number) {
        return PortError{0, QStringLiteral("the COM Port box holds \"%1\", not a port number "
                                           "from 1 to %2")
                                .arg(portText)
                                .arg(SerialPort::kHighestPortNumber)};
    }
    if (PortResult result = port.setPortNumber(*number); !result.ok()) {
        return result;
    }
    if (PortResult result = port.setSettings(settingsText); !result.ok()) {
        return result;
    }
    chosen(portText + QLatin1Char(':') + settingsText);
    return port.open();
}

ConnectionState connectedTo(const SerialPort& port) {
    return ConnectionState::connected(port.device() + QLatin1Char(' ') + port.settings());
}

PortReopener::PortReopener(SerialPort* port, QObject* parent)
    : QObject(parent),
      port_(port),
      timer_(new Timer(port->objectName() + QStringLiteral("_reopen"), kIntervalMs, this)) {
    QObject::connect(timer_, &Timer::tick, this, &PortReopener::tryOpen);
}

PortReopener::Started PortReopener::connect(const QString& portText, const QString& settingsText,
                                            WhenAbsent absent,
                                            const std::function<void(const QString&)>& chosen) {
    stop();
    Started started{connectPort(*port_, portText, settingsText, chosen), connectedTo(*port_)};
    if (started.result.ok()) {
        return started;
    }
    const PortError& error = started.result.error();
    const QString& reason = error.reason;
    if (absent == WhenAbsent::Retry && error.number != SerialPort::kNotSerialDevice) {
        start();
        started.state = ConnectionState::reconnecting(reason);
    } else {
        started.state = ConnectionState::failed(reason);
    }
    return started;
}

void PortReopener::start() {
    timer_->setEnabled(true);
}

void PortReopener::stop() {
    timer_->setEnabled(false);
}

void PortReopener::tryOpen() {
    if (!port_->open().ok()) {
        return;  // still gone: the next tick tries again
    }
    stop();
    emit reopened();
}
