#pragma once

#include <QObject>
#include <functional>

#include "platform/dialogs.h"
#include "platform/serial_port.h"

// What the window needs from the outside world. The program passes the real ones; tests pass
// doubles that answer dialogs without a modal loop.
struct Services {
    Dialogs* dialogs = nullptr;
    // Creates one serial port owned by the given parent.
    std::function<SerialPort*(QObject* parent)> makePort;
};
