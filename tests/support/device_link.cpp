#include <QFileInfo>
#include <QSettings>

#include "support/pty.h"

// The port mappings, apart from the pseudo-terminals so that they build on Windows too, which has
// none.
namespace test_support {

DeviceLink::DeviceLink(int number)
    : path(dir.filePath(QStringLiteral("tty") + QFileInfo(dir.path()).fileName())),
      portNumber(number) {
    if (portNumber > 0) {
        mapPort(portNumber, path);
    }
}

DeviceLink::~DeviceLink() {
    if (portNumber > 0) {
        mapPort(portNumber, QString());
    }
}

void mapPort(int number, const QString& devicePath) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Sondrel"),
                    QStringLiteral("Sondrel"));
    const QString key = QStringLiteral("Ports/COM%1").arg(number);
    if (devicePath.isEmpty()) {
        store.remove(key);
    } else {
        store.setValue(key, devicePath);
    }
    store.sync();
}

}  // namespace test_support
