#include "app/headless.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "app/station/station.h"
#include "platform/end_requests.h"
#include "platform/mapped_port.h"

namespace {

constexpr int kRefusedSettings = 2;
constexpr int kLogNotReady = 1;

int refuse(const QString& message) {
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
    return kRefusedSettings;
}

}  // namespace

int runHeadless() {
    const QString file = QDir::toNativeSeparators(settings_store::location());
    if (!QFileInfo(settings_store::location()).isFile()) {
        return refuse(QStringLiteral("%1: there is no such settings file.").arg(file));
    }
    const ReadRunSettings read = readRunSettings();
    Services services;
    services.makePort = [](QObject* parent) -> SerialPort* { return new MappedPort(parent); };
    Station station(services, settings_store::options(), Station::RunUpkeep::Never);
    const QStringList problems = settings_store::problems() + station.recordProblems() +
                                 read.problems + unattendedProblems(read.run);
    if (!problems.isEmpty()) {
        return refuse(
            QStringLiteral("%1: %2").arg(file, problems.join(QStringLiteral("\n%1: ").arg(file))));
    }
    QObject::connect(new EndRequests(&station), &EndRequests::endRequested, &station, [&station] {
        station.end();
        QCoreApplication::exit(0);
    });
    QObject::connect(&station, &Station::logRefused, &station, [&station] {
        station.end();
        QCoreApplication::exit(kLogNotReady);
    });
    station.start(read.run);
    return QCoreApplication::exec();
}
