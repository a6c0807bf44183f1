#include "platform/serial_device.h"

namespace serial_device {

bool isNotSerial(const QString& device) {
    Q_UNUSED(device);
    return false;
}

bool isRemoved(const QSerialPort& port) {
    Q_UNUSED(port);
    return false;
}

}  // namespace serial_device
