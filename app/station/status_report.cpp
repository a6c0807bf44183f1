#include "app/station/status_report.h"

#include <QDateTime>
#include <cstdio>

#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "output/output_controller.h"

namespace {

// Idle has no words on a status line; on standard error it needs some.
QString told(const ConnectionState& state) {
    const QString details = state.details();
    return details.isEmpty() ? QStringLiteral("Stopped") : details;
}

}  // namespace

void StatusReport::watch(const InputController& input, const OutputController& output,
                         const LogController& log) {
    connect(&input, &InputController::stateChanged, this,
            [this](const ConnectionState& state) { report(QStringLiteral("input"), told(state)); });
    connect(&input, &InputController::recordsRejectedChanged, this, [this](qint64 count) {
        if (count > 0) {
            report(QStringLiteral("input"), QStringLiteral("%1 records rejected").arg(count));
        }
    });
    connect(&output, &OutputController::stateChanged, this, [this](const ConnectionState& state) {
        report(QStringLiteral("output"), told(state));
    });
    connect(&output, &OutputController::noteChanged, this, [this](const QString& note) {
        if (!note.isEmpty()) {
            report(QStringLiteral("output"), note);
        }
    });
    connect(&output, &OutputController::echoBegan, this, [this] {
        report(QStringLiteral("output"), QStringLiteral("the echosounder sends bytes back"));
    });
    connect(&output.udp(), &UdpOutput::stateChanged, this,
            [this](const ConnectionState& state) { report(QStringLiteral("udp"), told(state)); });
    connect(&log, &LogController::stateChanged, this, [this](const ConnectionState& state) {
        report(QStringLiteral("log"),
               state.text().isEmpty() ? QStringLiteral("Writing") : state.text());
    });
}

void StatusReport::report(const QString& connection, const QString& text) {
    if (last_.value(connection) == text) {
        return;
    }
    last_.insert(connection, text);
    const QString line = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) +
                         QLatin1Char(' ') + connection + QStringLiteral(": ") + text +
                         QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}
