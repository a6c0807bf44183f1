#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"

// What the window needs from the outside world. The program passes the real ones; tests pass
// doubles that answer dialogs without a modal loop.
struct Services {
    Dialogs* dialogs = nullptr;
    // Creates one serial port owned by the given parent.
    std::function<SerialPort*(QObject* parent)> makePort;
    // The local date and time that dates the log lines.
    Clock clock = systemClock;
    // The age of readings.
    SteadyClock steadyClock = steadyMilliseconds;
    // Where the log file is created and appended to.
    std::shared_ptr<TextFiles> textFiles = std::make_shared<DiskTextFiles>();
};
