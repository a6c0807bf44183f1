#include "app/station/status_report.h"

#include <QDateTime>
#include <cstdio>

#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "output/output_controller.h"
#include "platform/timer.h"

namespace {

// Idle has no words on a status line; on standard error it needs some. What a listening link
// turned away is told apart, once.
QString told(ConnectionState state) {
    state.note.clear();
    const QString details = state.details();
    return details.isEmpty() ? QStringLiteral("Stopped") : details;
}

}  // namespace

QString recordCount(qint64 count) {
    return count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count);
}

StatusReport::StatusReport(QObject* parent)
    : QObject(parent),
      rejectedMinute_(new Timer(QStringLiteral("rejected_minute"), kRejectedEveryMs, this)) {
    connect(rejectedMinute_, &Timer::tick, this, [this] {
        if (rejectedTotal_ == rejectedTold_) {
            rejectedMinute_->setEnabled(false);
        } else {
            tellRejected();
        }
    });
}

void StatusReport::watch(const InputController& input, const OutputController& output,
                         const LogController& log) {
    connect(&input, &InputController::stateChanged, this,
            [this](const ConnectionState& state) { tell(QStringLiteral("input"), state); });
    connect(&input, &InputController::recordsRejectedChanged, this, &StatusReport::rejected);
    connect(&output, &OutputController::stateChanged, this,
            [this](const ConnectionState& state) { tell(QStringLiteral("output"), state); });
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
    // A wait for the disk counts its seconds on the status line; here it is told once.
    connect(&log, &LogController::stateChanged, this, [this, &log](const ConnectionState& state) {
        if (log.waitingForDisk() && toldDiskWait_) {
            return;
        }
        toldDiskWait_ = log.waitingForDisk();
        report(QStringLiteral("log"),
               state.text().isEmpty() ? QStringLiteral("Writing") : state.text());
    });
}

void StatusReport::tell(const QString& connection, const ConnectionState& state) {
    report(connection, told(state));
    if (state.note.isEmpty()) {
        notesTold_.remove(connection);
    } else if (!notesTold_.contains(connection)) {
        notesTold_.insert(connection);
        report(connection, state.note + QStringLiteral(", and further ones are not told here"));
        // The count goes on rising on the status line; here the state is not told again for it.
        last_.insert(connection, told(state));
    }
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

// A new start counts from 0 again: what the one before left untold is told first.
void StatusReport::rejected(qint64 total) {
    if (total == 0) {
        if (rejectedTotal_ > rejectedTold_) {
            tellRejected();
        }
        rejectedTotal_ = rejectedTold_ = 0;
        rejectedMinute_->setEnabled(false);
        return;
    }
    rejectedTotal_ = total;
    if (!rejectedMinute_->isEnabled()) {
        tellRejected();
    }
}

void StatusReport::tellRejected() {
    const qint64 count = rejectedTotal_ - rejectedTold_;
    const QString when =
        rejectedMinute_->isEnabled() ? QStringLiteral(" in the last minute") : QString();
    report(QStringLiteral("input"), QStringLiteral("%1 rejected%2 (%3 since the start)")
                                        .arg(recordCount(count), when)
                                        .arg(rejectedTotal_));
    rejectedTold_ = rejectedTotal_;
    // Set again, the interval counts the minute from this line.
    rejectedMinute_->setEnabled(true);
}
