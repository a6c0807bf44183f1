#include <QDebug>

#include "app/frm_main.h"
#include "platform/number_text.h"

// Closes the port, configures it from the two boxes, remembers the boxes under `key` before
// opening (so a port that then fails to open is remembered all the same) and opens it. Stops at
// the first failure, keeping what the steps before it did; `state` tells the outcome.
bool frm_main::connectPort(SerialPort* port, QLineEdit* portBox, QLineEdit* settingsBox,
                           const char* key, ConnectionState& state) {
    if (port->isOpen()) {
        port->close();
    }
    const auto number = number_text::parseInt16(portBox->text());
    if (!number) {
        return portFailed(PortError{0, QStringLiteral("the COM Port box holds \"%1\", not a port "
                                                      "number from 1 to %2")
                                           .arg(portBox->text())
                                           .arg(SerialPort::kHighestPortNumber)},
                          state);
    }
    if (const PortResult error = port->setPortNumber(*number)) {
        return portFailed(*error, state);
    }
    if (const PortResult error = port->setSettings(settingsBox->text())) {
        return portFailed(*error, state);
    }
    rememberPortConfiguration(key, portBox->text() + QLatin1Char(':') + settingsBox->text());
    if (const PortResult error = port->open()) {
        return portFailed(*error, state);
    }
    state = connectedTo(*port);
    showStatusLines();
    return true;
}

// The reason is on the status line before the one failure the specified message box tells, an
// unusable port number, so the user reads the detail behind the box.
bool frm_main::portFailed(const PortError& error, ConnectionState& state) {
    qWarning().noquote() << error.reason;
    state = ConnectionState::failed(error.reason);
    showStatusLines();
    if (error.number == SerialPort::kUnusablePort) {
        services_.dialogs->inform(windowTitle(), QStringLiteral("Please choose another COM Port!"));
    }
    return false;
}

ConnectionState frm_main::connectedTo(const SerialPort& port) {
    return ConnectionState::connected(port.device() + QLatin1Char(' ') + port.settings());
}
