#pragma once

#include <QSerialPort>
#include <QString>

// What the system tells about a device beyond what QSerialPort says. Where it has no plain
// answer, both are false and the port's own words stand.
namespace serial_device {

// Something is there, but not a serial device: a plain file, a folder, /dev/null. Waiting does
// not make it one.
bool isNotSerial(const QString& device);
// The device of the open port has gone while open: an adapter pulled out, a terminal hung up.
bool isRemoved(const QSerialPort& port);

}  // namespace serial_device
