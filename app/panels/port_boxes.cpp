#include "app/panels/port_boxes.h"

#include <QLineEdit>

#include "platform/dialogs.h"
#include "platform/settings_store.h"

namespace port_boxes {

void restore(const char* key, QLineEdit& portBox, QLineEdit& settingsBox) {
    const QString stored = settings_store::portConfiguration(key);
    if (stored.isEmpty()) {
        return;
    }
    const settings_store::PortBoxes boxes = settings_store::splitPortConfiguration(stored);
    portBox.setText(boxes.port);
    if (boxes.settings) {
        settingsBox.setText(*boxes.settings);
    }
}

void tellIfUnusable(const PortResult& result, Dialogs& dialogs, const QWidget& window) {
    if (!result.ok() && (result.error().number == SerialPort::kUnusablePort ||
                         result.error().number == SerialPort::kNotSerialDevice)) {
        dialogs.inform(window.windowTitle(), QStringLiteral("Please choose another COM Port!"));
    }
}

}  // namespace port_boxes
