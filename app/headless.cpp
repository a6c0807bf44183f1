#include "app/headless.h"

#include <QCoreApplication>
#include <QDir>

#include "app/status_report.h"
#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "logging/sampling_interval.h"
#include "output/output_controller.h"

Headless::Headless(const Services& services, const settings_store::Options& options,
                   QObject* parent)
    : QObject(parent),
      services_(services),
      options_(options),
      input_(new InputController(services.makePort, this)),
      output_(new OutputController(
          services.makePort, [this] { return measurement_.sendable(services_.steadyClock()); },
          this)),
      log_(new LogController(
          services.textFiles, services.clock, [this] { return measurement_.logValues(); }, this)),
      statusReport_(new StatusReport(this)) {
    statusReport_->watch(*input_, *output_, *log_);
    measurement_.readingTrust.setStaleLimit(options.staleAfter);
    measurement_.sendFreshOnly = options.sendFreshOnly;
    log_->setLogTime(options.logTimeUtc ? LogTime::Utc : LogTime::Local);
    connect(input_, &InputController::reading, this, &Headless::storeReading);
}

bool Headless::start(const RunSettings& run) {
    if (!run.logFile.isEmpty()) {
        log_->setInterval(*samplingIntervalMs(run.sampleInterval));
        if (const FileResult ready = log_->resume(run.logFile); !ready.ok()) {
            statusReport_->report(QStringLiteral("log"),
                                  QStringLiteral("%1 cannot be written: %2")
                                      .arg(QDir::toNativeSeparators(run.logFile), ready.error()));
            return false;
        }
        statusReport_->report(QStringLiteral("log"), QStringLiteral("Appending to ") +
                                                         QDir::toNativeSeparators(run.logFile));
    }
    output_->setTelegram(run.telegram);
    startConnections(run, *input_, *output_, measurement_, services_.steadyClock());
    if (options_.udpSending) {
        output_->udp().start(run.sendInterval, options_.udpTarget);
    }
    return true;
}

void Headless::storeReading(const InstrumentReading& reading) {
    measurement_.store(reading, services_.steadyClock());
    if (reading.complete) {
        measurement_.computeSalinity();
        measurement_.computeSoundVelocity();
    }
    if (reading.fresh) {
        measurement_.noteReading(services_.steadyClock(), false);
    }
}

void Headless::end() {
    log_->stop();
    output_->close();
    input_->close();
    const FileResult written = log_->writeWaiting();
    if (log_->waitingLines() > 0) {
        const LogController::Recovery recovery =
            log_->saveToRecoveryFile(written.ok() ? QString() : written.error());
        statusReport_->report(QStringLiteral("log"), recovery.told);
    }
    statusReport_->report(QStringLiteral("sondrel"),
                          log_->file().isEmpty()
                              ? QStringLiteral("Ended")
                              : QStringLiteral("Ended; %1 samples logged").arg(log_->samples()));
    QCoreApplication::exit(0);
}
