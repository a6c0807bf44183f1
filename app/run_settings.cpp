#include "app/run_settings.h"

#include "app/measurement.h"
#include "logging/sampling_interval.h"
#include "output/output_controller.h"
#include "output/send_intervals.h"
#include "platform/number_text.h"
#include "platform/port_settings.h"
#include "platform/settings_store.h"

namespace {

QString cannotBeUsed(const char* section, const char* key, const QString& value,
                     const QString& expected) {
    return QStringLiteral("%1 under [%2] (\"%3\") cannot be used: %4.")
        .arg(QLatin1String(key), QLatin1String(section), value, expected);
}

// Reads one [Run] key with `take`, which says whether the text was usable.
template <typename Take>
void readRun(const char* key, QStringList& problems, const QString& expected, Take take) {
    if (const std::optional<QString> text = settings_store::runValue(key); text && !take(*text)) {
        problems << cannotBeUsed("Run", key, *text, expected);
    }
}

bool readFlag(const QString& text, bool& flag) {
    if (text != QLatin1String("true") && text != QLatin1String("false")) {
        return false;
    }
    flag = text == QLatin1String("true");
    return true;
}

// The port texts stored under `key`; a connection that is to run needs a port number and
// settings it can open.
void readPortTexts(const char* key, bool needed, QString& port, QString& settings,
                   QStringList& problems) {
    const QString stored = settings_store::portConfiguration(key);
    if (!stored.isEmpty()) {
        const settings_store::PortBoxes boxes = settings_store::splitPortConfiguration(stored);
        port = boxes.port;
        settings = boxes.settings.value_or(settings);
    }
    if (needed && (!number_text::parseInt16(port) || !parsePortSettings(settings))) {
        problems << cannotBeUsed("COM_Port", key, port + QLatin1Char(':') + settings,
                                 QStringLiteral("give a port number and settings such as "
                                                "1:19200,N,8,1"));
    }
}

}  // namespace

ReadRunSettings readRunSettings() {
    ReadRunSettings read;
    RunSettings& run = read.run;
    QStringList& problems = read.problems;
    readRun(settings_store::kRunInstrument, problems, QStringLiteral("Kestrane or SeaSun"),
            [&](const QString& text) {
                if (text != QLatin1String("Kestrane") && text != QLatin1String("SeaSun")) {
                    return false;
                }
                run.instrument =
                    text == QLatin1String("SeaSun") ? Instrument::SeaSun : Instrument::Kestrane;
                return true;
            });
    const QString flag = QStringLiteral("true or false");
    readRun(settings_store::kRunInput, problems, flag,
            [&](const QString& text) { return readFlag(text, run.input); });
    readRun(settings_store::kRunOutput, problems, flag,
            [&](const QString& text) { return readFlag(text, run.output); });
    readRun(settings_store::kRunTelegram, problems,
            QStringLiteral("Generic, SVP 20 or App. Microsystems"), [&](const QString& text) {
                const std::optional<Telegram> telegram = telegrams::named(text);
                run.telegram = telegram.value_or(run.telegram);
                return telegram.has_value();
            });
    readRun(settings_store::kRunSendInterval, problems, QStringLiteral("0 to 65535 ms"),
            [&](const QString& text) {
                run.sendInterval = sendIntervals(text) ? text : run.sendInterval;
                return sendIntervals(text).has_value();
            });
    readRun(settings_store::kRunSampleInterval, problems, QStringLiteral("0 to 65.535 s"),
            [&](const QString& text) {
                run.sampleInterval = samplingIntervalMs(text) ? text : run.sampleInterval;
                return samplingIntervalMs(text).has_value();
            });
    readRun(settings_store::kRunLogFile, problems, QString(), [&](const QString& text) {
        run.logFile = text;
        return true;
    });
    readPortTexts(settings_store::kInputKey, run.input, run.inputPort, run.inputSettings, problems);
    readPortTexts(settings_store::kOutputKey, run.output, run.outputPort, run.outputSettings,
                  problems);
    return read;
}

void startConnections(const RunSettings& run, InputController& input, OutputController& output,
                      Measurement& measurement, qint64 nowMs) {
    // Each outcome is on the status lines already.
    if (run.input) {
        [[maybe_unused]] const PortResult started =
            input.start(run.instrument, run.inputPort, run.inputSettings, WhenAbsent::Retry);
        measurement.expectReadings(nowMs, run.instrument);
    }
    if (run.output) {
        [[maybe_unused]] const PortResult started =
            output.start(run.outputPort, run.outputSettings, run.sendInterval, WhenAbsent::Retry);
    }
}
