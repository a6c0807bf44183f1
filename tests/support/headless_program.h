#pragma once

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace test_support {

// Started as a service starts it: no display of any kind, a settings file of its own. The C
// locale gives the log lines a decimal point.
inline void startHeadless(QProcess& program, const QString& settings,
                          const QString& dataFolder = QString()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!dataFolder.isEmpty()) {
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SONDREL_APP_DIR "/sondrel"),
                  {"--headless", "--settings", settings});
}

// Ends the program as a service manager does, and whether it ended cleanly. No request to end
// reaches a console program under Wine, so there it is killed and its ending not judged.
inline bool endedCleanly(QProcess& program) {
#ifdef Q_OS_WIN
    program.kill();
    return program.waitForFinished();
#else
    program.terminate();
    return program.waitForFinished() && program.exitStatus() == QProcess::NormalExit &&
           program.exitCode() == 0;
#endif
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// 0 dbar and 15 degrees: the conductivity of the salinity 35 reference, 1506.66 m/s.
inline constexpr char kRecordA[] = "0042.914\tMS/CM\t000.000\tDBAR\t15.000\tC\r\n";
inline constexpr char kTelegramA[] = "150670000000150990000\r\n";

}  // namespace test_support
