#include "platform/settings_store.h"

#include <QSettings>
#include <QStringList>

namespace settings_store {
namespace {

// Returned as a prvalue: QSettings cannot be copied, but guaranteed elision needs no copy.
QSettings store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel");
}

}  // namespace

QString portConfiguration(const char* key) {
    return store().value(QStringLiteral("COM_Port/") + key).toString();
}

void setPortConfiguration(const char* key, const QString& value) {
    QSettings settings = store();
    settings.setValue(QStringLiteral("COM_Port/") + key, value);
    settings.sync();
}

PortBoxes splitPortConfiguration(const QString& stored) {
    const QStringList pieces = stored.split(QLatin1Char(':'));
    PortBoxes boxes{pieces.at(0), std::nullopt};
    if (pieces.size() > 1) {
        boxes.settings = pieces.at(1);
    }
    return boxes;
}

QString deviceForPort(int number) {
    const QString mapped = store().value(QStringLiteral("Ports/COM%1").arg(number)).toString();
    if (!mapped.isEmpty()) {
        return mapped;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString location() {
    return store().fileName();
}

}  // namespace settings_store
