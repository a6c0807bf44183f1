#pragma once

#include "platform/qt_serial_port.h"

namespace test_support {

// The real serial port, telling each open the window asks of it: a reopen after a bad record,
// a retry while the device is gone.
class WatchedPort : public QtSerialPort {
    Q_OBJECT
public:
    using QtSerialPort::QtSerialPort;

    PortResult open() override {
        const bool wasOpen = isOpen();
        const PortResult result = QtSerialPort::open();
        if (!wasOpen) {
            emit openTried(result.ok());
        }
        return result;
    }

signals:
    void openTried(bool opened);
};

}  // namespace test_support
