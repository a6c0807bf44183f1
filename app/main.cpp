#include <QApplication>

#include "app/frm_main.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_serial_port.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sondrel"));
    QApplication::setApplicationName(QStringLiteral("Sondrel"));

    QtDialogs dialogs;
    Services services;
    services.dialogs = &dialogs;
    services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };

    frm_main window(services);
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
