#include "app/station/run_settings.h"

#include <tuple>

#include "logging/sampling_interval.h"
#include "platform/link_address.h"
#include "platform/number_text.h"
#include "platform/port_settings.h"
#include "platform/serial_device.h"
#include "platform/settings_store.h"

namespace {

// Reads one [Run] key with `take`, which says whether the text was usable.
template <typename Take>
void readRun(const char* key, QStringList& problems, const QString& expected, Take take) {
    if (const std::optional<QString> text = settings_store::runValue(key); text && !take(*text)) {
        problems << settings_store::cannotBeUsed("Run", key, *text, expected);
    }
}

// Takes the value that `read` finds in the text into `field`; false, the field as it was, when
// it finds none.
template <typename Field, typename Read>
bool take(Field& field, const QString& text, Read read) {
    const auto found = read(text);
    if (!found) {
        return false;
    }
    field = *found;
    return true;
}

// A [Run] key that names a row of `table`.
template <typename Row>
void readRow(const char* key, const NamedRows<Row>& table, const Row*& row, QStringList& problems) {
    readRun(key, problems, table.choices(), [&](const QString& text) {
        const Row* named = table.named(text);
        row = named ? named : row;
        return named != nullptr;
    });
}

// An interval's value and the text it was read from.
template <typename Value, typename Read>
bool takeTyped(Value& value, QString& typed, const QString& text, Read read) {
    if (!take(value, text, read)) {
        return false;
    }
    typed = text;
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
        problems << settings_store::cannotBeUsed(
            "COM_Port", key, port + QLatin1Char(':') + settings,
            QStringLiteral("give a port number and settings such as "
                           "1:19200,N,8,1"));
    }
}

}  // namespace

ReadRunSettings readRunSettings() {
    ReadRunSettings read;
    RunSettings& run = read.run;
    QStringList& problems = read.problems;
    readRow(settings_store::kRunInstrument, instruments::table(), run.instrument, problems);
    const QString flag = QStringLiteral("true or false");
    readRun(settings_store::kRunInput, problems, flag,
            [&](const QString& text) { return take(run.input, text, settings_store::readFlag); });
    readRun(settings_store::kRunOutput, problems, flag,
            [&](const QString& text) { return take(run.output, text, settings_store::readFlag); });
    readRow(settings_store::kRunTelegram, telegrams::formats(), run.telegram, problems);
    readRun(settings_store::kRunSendInterval, problems, QStringLiteral("0 to 65535 ms"),
            [&](const QString& text) {
                return takeTyped(run.sendIntervals, run.sendIntervalText, text, sendIntervals);
            });
    readRun(settings_store::kRunSampleInterval, problems, QStringLiteral("0 to 65.535 s"),
            [&](const QString& text) {
                return takeTyped(run.sampleIntervalMs, run.sampleIntervalText, text,
                                 samplingIntervalMs);
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

QStringList unattendedProblems(const RunSettings& run) {
    QStringList problems;
    if (run.sendIntervals.send == 0) {
        problems << settings_store::cannotBeUsed(
            "Run", settings_store::kRunSendInterval, run.sendIntervalText,
            QStringLiteral("at 0 ms nothing is sent; give 1 to 65535 ms"));
    }
    if (run.sampleIntervalMs == 0) {
        problems << settings_store::cannotBeUsed(
            "Run", settings_store::kRunSampleInterval, run.sampleIntervalText,
            QStringLiteral("at 0 s nothing is logged; give 0.001 to 65.535 s"));
    }
    for (const auto& [key, runs, port] :
         {std::tuple{settings_store::kInputKey, run.input, run.inputPort},
          {settings_store::kOutputKey, run.output, run.outputPort}}) {
        if (!runs) {
            continue;
        }
        const QString stored = settings_store::portConfiguration(key);
        if (!stored.isEmpty() && !settings_store::splitPortConfiguration(stored).settings) {
            problems << settings_store::cannotBeUsed(
                "COM_Port", key, stored,
                QStringLiteral("give the settings after the port number, such as "
                               "%1:19200,N,8,1")
                    .arg(stored));
        }
        const std::optional<int> number = number_text::parseInt16(port);
        if (!number) {
            continue;
        }
        const QString device = settings_store::deviceForPort(*number);
        const QByteArray mapping = "COM" + QByteArray::number(*number);
        const auto link = link_address::parse(device);
        const auto* address = std::get_if<LinkAddress>(&link);
        if (address && address->kind == LinkAddress::Kind::Udp &&
            key == settings_store::kOutputKey) {
            problems << settings_store::cannotBeUsed(
                "Ports", mapping.constData(), device,
                QStringLiteral("the telegrams go out over tcp:// or tcp-listen://; datagrams go "
                               "through the UDP output"));
        } else if (!link_address::isLink(device) && serial_device::isNotSerial(device)) {
            problems << settings_store::cannotBeUsed("Ports", mapping.constData(), device,
                                                     QStringLiteral("it is not a serial device"));
        }
    }
    problems.removeDuplicates();
    return problems;
}
