#include "platform/port_connection.h"

#include "platform/number_text.h"
#include "platform/timer.h"

PortResult connectPort(SerialPort& port, const QString& portText, const QString& settingsText,
                       const std::function<void(const QString&)>& chosen) {
    if (port.isInUse()) {
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

namespace {

bool isLinkComing(const PortError& error) {
    return error.number == SerialPort::kLinkDown || error.number == SerialPort::kAwaitingPeer;
}

}  // namespace

PortReopener::PortReopener(SerialPort* port, QObject* parent)
    : QObject(parent),
      port_(port),
      timer_(new Timer(port->objectName() + QStringLiteral("_reopen"), kIntervalMs, this)) {
    QObject::connect(timer_, &Timer::tick, this, &PortReopener::tryOpen);
    // Queued: what a link tells while it takes a connection is answered after it, never by
    // opening, and so perhaps replacing, the link in the middle of its own work.
    QObject::connect(port_, &SerialPort::changed, this, &PortReopener::portChanged,
                     Qt::QueuedConnection);
}

PortReopener::Started PortReopener::connect(const QString& portText, const QString& settingsText,
                                            WhenAbsent absent,
                                            const std::function<void(const QString&)>& chosen) {
    stop();
    Started started{connectPort(*port_, portText, settingsText, chosen), {}};
    if (started.result.ok()) {
        following_ = true;
        started.state = told_ = port_->openState();
        return started;
    }
    const PortError error = started.result.error();
    const bool linkComing = isLinkComing(error);
    if (linkComing ||
        (absent == WhenAbsent::Retry && error.number != SerialPort::kNotSerialDevice)) {
        start();
        started.state = told_ = away(error);
        if (linkComing) {
            started.result = {};
        }
    } else {
        started.state = ConnectionState::failed(error.reason);
    }
    return started;
}

void PortReopener::start() {
    following_ = true;
    timer_->setEnabled(true);
}

void PortReopener::stop() {
    following_ = false;
    timer_->setEnabled(false);
}

ConnectionState PortReopener::away(const PortError& error) const {
    return error.number == SerialPort::kAwaitingPeer ? port_->openState()
                                                     : ConnectionState::reconnecting(error.reason);
}

// Still gone, the next tick tries again. A link coming up tells each change of why; a device
// stays told by the reason it went away with.
void PortReopener::tryOpen() {
    const PortResult result = port_->open();
    if (result.ok()) {
        timer_->setEnabled(false);
        told_ = port_->openState();
        emit stateChanged(told_);
    } else if (const ConnectionState state = away(result.error());
               isLinkComing(result.error()) && state != told_) {
        told_ = state;
        emit stateChanged(state);
    }
}

// A connection stopped or started anew tells nothing of the port it leaves behind.
void PortReopener::portChanged() {
    if (!following_) {
        return;
    }
    if (timer_->isEnabled()) {
        tryOpen();
    } else if (port_->isOpen()) {
        told_ = port_->openState();
        emit stateChanged(told_);
    }
}
