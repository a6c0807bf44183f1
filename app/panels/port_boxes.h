#pragma once

#include "platform/serial_port.h"

class Dialogs;
class QLineEdit;
class QWidget;

namespace port_boxes {

// The port and settings boxes from the texts stored under `key`. A value without a colon (edited
// by hand) fills only the port box, leaving the settings box as it is.
void restore(const char* key, QLineEdit& portBox, QLineEdit& settingsBox);

// The one failure of a start that a message box tells: a port number that names no device, or
// no serial device. The reason is on the status line before the box, so the user reads the
// detail behind it.
void tellIfUnusable(const PortResult& result, Dialogs& dialogs, const QWidget& window);

}  // namespace port_boxes
