#include "platform/serial_port.h"

ConnectionState SerialPort::openState() const {
    return ConnectionState::connected(device() + QLatin1Char(' ') + settings());
}

PortResult SerialPort::restart() {
    close();
    return open();
}
