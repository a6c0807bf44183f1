#include "ascii_mode.h"

#include <iostream>
#include <optional>

#include "drift.h"
#include "instrument_lines.h"
#include "line_options.h"
#include "option_values.h"
#include "run_control.h"

namespace {

using namespace line_options;
using instrument_lines::instruments;
using option_values::readCount;

const QCommandLineOption kRecords(
    "records",
    QStringLiteral("The instrument, by the name of its record layout: %1.")
        .arg(instruments().choices()),
    "name", QLatin1String(instruments().standard.name));

struct Settings {
    const instrument_lines::Instrument* instrument = nullptr;
    option_values::Reading values;
    int interval = 0;
    int count = 0;
};

std::optional<Settings> readSettings(const QCommandLineParser& parser) {
    Settings s;
    s.instrument = instruments().named(parser.value(kRecords));
    if (!s.instrument) {
        std::cerr << "sondrel-sim: no simulated instrument sends \""
                  << parser.value(kRecords).toStdString() << "\" records; --records takes "
                  << instruments().choices().toStdString() << '\n';
        return std::nullopt;
    }
    if (option_values::readReading(parser, kConductivity, kPressure, kTemperature, s.values) &&
        readCount(parser, kInterval, 1, s.interval) && readCount(parser, kCount, 0, s.count)) {
        return s;
    }
    return std::nullopt;
}

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({kRecords, kInterval, kConductivity, kPressure, kTemperature,
                       option_values::kDrift, kCount});
}

// A line end goes first, as if the instrument had just finished a line: a reader that drops
// the partial line in flight then reads the very first record.
int run(const QCommandLineParser& parser, Endpoint& endpoint) {
    const auto settings = readSettings(parser);
    if (!settings) {
        return 2;
    }
    QByteArray bytes = "\r\n";
    for (qint64 n = 0; settings->count == 0 || n < settings->count; ++n) {
        const option_values::Reading at = drift::lineAt(settings->values, static_cast<double>(n));
        bytes += settings->instrument->line(
            instrument_lines::waterOf(at.conductivity, at.pressure, at.temperature));
        if (!endpoint.write(bytes)) {
            return run_control::stopRequested() ? 0 : 1;
        }
        if (!run_control::pause(std::chrono::milliseconds(settings->interval))) {
            return 0;
        }
        bytes.clear();
    }
    return 0;
}

}  // namespace

Mode asciiMode() {
    return {"ascii", "an ASCII instrument sending lines", Mode::Flow::Sends, addOptions, run};
}
