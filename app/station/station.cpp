#include "app/station/station.h"

#include <QDir>

#include "app/station/status_report.h"
#include "input/input_controller.h"
#include "logging/sampling_interval.h"
#include "output/output_controller.h"
#include "platform/number_text.h"

Station::Station(const Services& services, const settings_store::Options& options, RunUpkeep upkeep,
                 QObject* parent)
    : QObject(parent),
      services_(services),
      options_(options),
      input_(new InputController(services.makePort, this)),
      output_(new OutputController(
          services.makePort, [this] { return sendable(now()); }, this)),
      log_(new LogController(
          services.textFiles, services.clock, services.steadyClock, [this] { return logValues(); },
          this)),
      statusReport_(new StatusReport(this)),
      upkeep_(upkeep),
      keepingRun_(upkeep == RunUpkeep::WhileResuming && options.resumeAtStart) {
    statusReport_->watch(*input_, *output_, *log_);
    // The store has already put a default in place of anything unusable.
    readingTrust.setStaleLimit(options.staleAfterMs);
    sendFreshOnly = options.sendFreshOnly;
    setLogTimeUtc(options.logTimeUtc);
    log_->setDaily(options.logDaily);
    const ReadRecordChoice read = readRecordChoice(options.asciiRecords);
    recordProblems_ = read.problems;
    useRecords(read.choice);
    connect(log_, &LogController::fileReady, this, &Station::logReady);
    connect(log_, &LogController::fileRefused, this,
            [this](const QString& path, const QString& reason, LogController::Asked asked) {
                if (asked == LogController::Asked::Resume) {
                    statusReport_->report(QStringLiteral("log"),
                                          QStringLiteral("%1 cannot be written: %2")
                                              .arg(QDir::toNativeSeparators(path), reason));
                }
                emit logRefused(path, reason, asked);
            });
    connect(input_, &InputController::reading, this, &Station::take);
    connect(input_, &InputController::secondPassed, this, &Station::trustChanged);
    connect(input_, &InputController::portTextsChosen, this, [this](const QString& value) {
        emit portTextsChosen(settings_store::kInputKey, value);
    });
    connect(output_, &OutputController::portTextsChosen, this, [this](const QString& value) {
        emit portTextsChosen(settings_store::kOutputKey, value);
    });
}

// [Run] is left as it is: a device that is not there yet has not stopped running.
void Station::start(const RunSettings& run) {
    instrument_ = run.instrument;
    output_->setTelegram(*run.telegram);
    sendIntervalText_ = run.sendIntervalText;
    samplingText_ = run.sampleIntervalText;
    log_->setInterval(run.sampleIntervalMs);
    // Each outcome is on the status lines already.
    if (run.input) {
        [[maybe_unused]] const PortResult started =
            input_->start(*run.instrument, run.inputPort, run.inputSettings, WhenAbsent::Retry);
        expectReadings(*run.instrument);
    }
    if (run.output) {
        [[maybe_unused]] const PortResult started = output_->start(
            run.outputPort, run.outputSettings, run.sendIntervals, WhenAbsent::Retry);
    }
    if (options_.udpSending) {
        output_->udp().start(run.sendIntervals, options_.udpTarget);
    }
    if (!run.logFile.isEmpty()) {
        log_->resume(run.logFile);
    }
}

void Station::logReady(const QString& path, LogController::Asked asked) {
    if (asked == LogController::Asked::Create) {
        logInto(path);
        return;
    }
    statusReport_->report(QStringLiteral("log"), QStringLiteral("Appending to ") +
                                                     QDir::toNativeSeparators(log_->currentFile()));
    data_file = path;
    emit logFileChanged(data_file);
}

// The clocks stop first, so that nothing is sampled or sent from values the closing instrument
// leaves behind; the output closes before the input.
std::optional<LogController::Recovery> Station::end(const FileChooser& chooseFile) {
    log_->stop();
    output_->close();
    input_->close();
    const FileResult written = log_->finish(kLogEndWait);
    if (!written.ok() && chooseFile) {
        if (const std::optional<QString> chosen = chooseFile()) {
            if (const FileResult saved = log_->saveWaitingAs(*chosen); !saved.ok()) {
                statusReport_->report(
                    QStringLiteral("log"),
                    QDir::toNativeSeparators(*chosen) + QStringLiteral(": ") + saved.error());
            }
        }
    }
    std::optional<LogController::Recovery> recovery;
    if (log_->waitingLines() > 0) {
        recovery = log_->saveToRecoveryFile(written.ok() ? QString() : written.error());
        if (recovery->saved) {
            const auto kept =
                settings_store::setRecoveredLogs(settings_store::recoveredLogs() << recovery->path);
            if (!kept.ok()) {
                recovery->told +=
                    QStringLiteral(" (the next start cannot name it: %1)").arg(kept.error());
            }
        }
        statusReport_->report(QStringLiteral("log"), recovery->told);
    }
    statusReport_->report(QStringLiteral("sondrel"),
                          log_->file().isEmpty()
                              ? QStringLiteral("Ended")
                              : QStringLiteral("Ended; %1 samples logged").arg(log_->samples()));
    return recovery;
}

void Station::con2sal() {
    if (computeSalinity()) {
        emit salinityChanged();
    }
}

void Station::sv() {
    if (computeSoundVelocity()) {
        emit soundVelocityChanged();
    }
}

void Station::take(InstrumentReading reading) {
    if (reading.complete && !given.pressure) {
        reading.pressure = options_.fixedPressureDbar / 10;
        reading.pressureText = number_text::formatGeneral(options_.fixedPressureDbar);
    }
    store(reading, now());
    computeAndNote(reading, false);
}

// Typed values replace the fields as a whole, never one channel of an instrument that sends them
// apart.
void Station::takeTyped(const InstrumentReading& typed) {
    pressure = typed.pressure.value_or(pressure);
    temperature = typed.temperature.value_or(temperature);
    conductivity = typed.conductivity.value_or(conductivity);
    computeAndNote(typed, true);
}

void Station::computeAndNote(const InstrumentReading& reading, bool manual) {
    emit readingStored(reading);
    if (reading.complete && (manual || given.salinity())) {
        con2sal();
        sv();
    } else if (reading.complete && reading.soundVelocity &&
               takeMeasuredSoundVelocity(*reading.soundVelocity)) {
        emit soundVelocityChanged();
    }
    if (reading.fresh) {
        noteReading(now(), manual);
        emit readingNoted();
        emit trustChanged();
    }
}

PortResult Station::startInput(const Instrument& instrument, const QString& portText,
                               const QString& settingsText, WhenAbsent absent) {
    const PortResult started = input_->start(instrument, portText, settingsText, absent);
    rememberRun(settings_store::kRunInput, started.ok());
    // A connected instrument that never sends (a wrong baud rate, a cable to the wrong socket)
    // is told as plainly as one that stopped: its silence counts from the connection, or from the
    // start of a link still coming up.
    if (started.ok()) {
        expectReadings(instrument);
    }
    return started;
}

void Station::expectReadings(const Instrument& instrument) {
    inputInstrument_ = &instrument;
    given =
        instrument.reading == Instrument::Reading::Records ? records_.layout.gives() : Quantities{};
    Measurement::expectReadings(now(), instrument);
    emit trustChanged();
}

void Station::chooseInstrument(const Instrument& instrument) {
    instrument_ = &instrument;
    rememberRun(settings_store::kRunInstrument, QLatin1String(instrument.name));
}

PortResult Station::startOutput(const QString& portText, const QString& settingsText,
                                const QString& intervalText, WhenAbsent absent) {
    sendIntervalText_ = intervalText;
    const PortResult started =
        output_->start(portText, settingsText, sendIntervals(intervalText), absent);
    rememberRun(settings_store::kRunSendInterval, intervalText);
    rememberRun(settings_store::kRunOutput, started.ok());
    return started;
}

void Station::stopOutput() {
    output_->stop();
    rememberRun(settings_store::kRunOutput, false);
}

void Station::chooseTelegram(const TelegramFormat& telegram) {
    output_->setTelegram(telegram);
    rememberRun(settings_store::kRunTelegram, QLatin1String(telegram.name));
}

void Station::editSendInterval(const QString& intervalText, const QString& udpTarget) {
    sendIntervalText_ = intervalText;
    rememberRun(settings_store::kRunSendInterval, intervalText);
    if (options_.udpSending) {
        output_->udp().start(sendIntervals(intervalText), udpTarget);
    }
}

// A remembered "sending" starts with the program, so that a restarted PC feeds the echosounder
// again without a click.
void Station::setUdpSending(bool on, const QString& intervalText, const QString& target) {
    options_.udpSending = on;
    rememberOption(settings_store::kUdpSending, settings_store::flagText(on));
    if (on) {
        output_->udp().start(sendIntervals(intervalText), target);
    } else {
        output_->udp().stop();
    }
}

// Taken when an edit is finished, not at every keystroke, so that a half-typed target never gets
// telegrams.
void Station::aimUdp(const QString& target) {
    options_.udpTarget = target;
    rememberOption(settings_store::kUdpTarget, target);
    output_->udp().aim(target);
}

void Station::createLog(const QString& path) {
    log_->create(path);
}

void Station::logInto(const QString& path) {
    data_file = path;
    rememberRun(settings_store::kRunLogFile, path);
    emit logFileChanged(path);
}

bool Station::setSamplingInterval(const QString& typed) {
    const std::optional<int> interval = samplingIntervalMs(typed);
    if (!interval) {
        return false;
    }
    log_->setInterval(*interval);
    samplingText_ = typed;
    rememberRun(settings_store::kRunSampleInterval, typed);
    return true;
}

void Station::setLogTimeUtc(bool utc) {
    log_->setLogTime(utc ? LogTime::Utc : LogTime::Local);
    if (utc != options_.logTimeUtc) {
        options_.logTimeUtc = utc;
        rememberOption(settings_store::kLogTimeUtc, settings_store::flagText(utc));
    }
}

QStringList Station::chooseRecords(const RecordPreset& preset) {
    const ReadRecordChoice read = readRecordChoice(QLatin1String(preset.name));
    if (!read.problems.isEmpty()) {
        return read.problems;
    }
    useRecords(read.choice);
    options_.asciiRecords = QLatin1String(preset.name);
    rememberOption(settings_store::kAsciiRecords, options_.asciiRecords);
    // The records read from now on, reconnecting or not, give what the new layout gives.
    if (inputInstrument_->reading == Instrument::Reading::Records) {
        given = records_.layout.gives();
    }
    emit trustChanged();
    return {};
}

void Station::useRecords(const RecordChoice& choice) {
    records_ = choice;
    input_->setRecordLayout(choice.layout);
}

bool Station::setFixedPressure(const QString& typed) {
    const std::optional<double> dbar = settings_store::fixedPressureDbar(typed);
    if (!dbar) {
        return false;
    }
    options_.fixedPressure = typed;
    options_.fixedPressureDbar = *dbar;
    rememberOption(settings_store::kFixedPressure, typed);
    return true;
}

void Station::setLogDaily(bool daily) {
    log_->setDaily(daily);
    options_.logDaily = daily;
    rememberOption(settings_store::kLogDaily, settings_store::flagText(daily));
}

bool Station::setStaleLimit(const QString& typed) {
    const std::optional<qint64> limit = settings_store::staleLimitMs(typed);
    if (!limit) {
        return false;
    }
    options_.staleAfter = typed;
    options_.staleAfterMs = *limit;
    readingTrust.setStaleLimit(*limit);
    rememberOption(settings_store::kStaleAfter, typed);
    emit trustChanged();
    return true;
}

void Station::setSendFreshOnly(bool on) {
    sendFreshOnly = on;
    options_.sendFreshOnly = on;
    rememberOption(settings_store::kSendFreshOnly, settings_store::flagText(on));
}

// Kept, the store holds what runs now, not what ran when it was last kept.
void Station::keepRun(bool on) {
    options_.resumeAtStart = on;
    rememberOption(settings_store::kResumeAtStart, settings_store::flagText(on));
    keepingRun_ = upkeep_ == RunUpkeep::WhileResuming && on;
    rememberWholeRun();
}

void Station::rememberWholeRun() {
    rememberRun(settings_store::kRunInstrument, QLatin1String(instrument_->name));
    rememberRun(settings_store::kRunInput, input_->state().running());
    rememberRun(settings_store::kRunOutput, output_->isStarted());
    rememberRun(settings_store::kRunTelegram, QLatin1String(output_->telegram().name));
    rememberRun(settings_store::kRunSendInterval, sendIntervalText_);
    rememberRun(settings_store::kRunLogFile, data_file);
    rememberRun(settings_store::kRunSampleInterval, samplingText_);
}

void Station::rememberRun(const char* key, const QString& value) {
    if (keepingRun_) {
        remembered(settings_store::setRunValue(key, value));
    }
}

void Station::rememberRun(const char* key, bool value) {
    rememberRun(key, settings_store::flagText(value));
}

// An option works all the same when the store cannot keep it: told on standard error only.
void Station::rememberOption(const char* key, const QString& value) {
    remembered(settings_store::setOption(key, value));
}

settings_store::StoreResult Station::rememberPortConfiguration(const char* key,
                                                               const QString& value) {
    const settings_store::StoreResult saved = settings_store::setPortConfiguration(key, value);
    remembered(saved);
    return saved;
}

void Station::remembered(const settings_store::StoreResult& result) {
    if (!result.ok()) {
        statusReport_->report(QStringLiteral("settings"),
                              QDir::toNativeSeparators(settings_store::location()) +
                                  QStringLiteral(": ") + result.error());
    }
}

QStringList Station::takeRecoveredLogs() {
    const QStringList paths = settings_store::recoveredLogs();
    if (!paths.isEmpty()) {
        remembered(settings_store::setRecoveredLogs({}));
    }
    return paths;
}
