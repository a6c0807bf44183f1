#include "seasun_mode.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "input/sea_sun_encoder.h"
#include "option_values.h"
#include "run_control.h"

namespace {

using option_values::readCount;
using option_values::readNumber;
using sea_sun::Channel;

const QCommandLineOption kPressure(
    "pressure", "Pressure in the calibration's own unit (taken between 0 and 3).", "value", "1.5");
const QCommandLineOption kTemperature("temperature", "Temperature in degrees Celsius.", "value",
                                      "20");
const QCommandLineOption kConductivity("conductivity", "Conductivity in mS/cm.", "value", "40");
// 1200 baud with a start bit, 8 data bits, a parity bit and a stop bit is 109 bytes a second.
const QCommandLineOption kRate("rate", "Bytes per second.", "n", "109");
const QCommandLineOption kCount("count", "Stop after this many rounds (0: run until stopped).", "n",
                                "0");

// Bytes leave in the small pieces a slow line delivers, never faster than the rate allows.
constexpr std::chrono::milliseconds kPace(20);

struct Settings {
    double pressure = 0;
    double temperature = 0;
    double conductivity = 0;
    int rate = 0;
    int count = 0;
};

std::optional<Settings> readSettings(const QCommandLineParser& parser) {
    Settings s;
    if (readNumber(parser, kPressure, s.pressure) &&
        readNumber(parser, kTemperature, s.temperature) &&
        readNumber(parser, kConductivity, s.conductivity) && readCount(parser, kRate, 1, s.rate) &&
        readCount(parser, kCount, 0, s.count)) {
        return s;
    }
    return std::nullopt;
}

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({kPressure, kTemperature, kConductivity, kRate, kCount});
}

// The stream starts at the first byte of a word; the reader falls into it wherever its reads
// happen to cut.
int run(const QCommandLineParser& parser, Endpoint& endpoint) {
    const auto settings = readSettings(parser);
    if (!settings) {
        return 2;
    }
    const QByteArray round =
        seaSunRound(settings->pressure, settings->temperature, settings->conductivity);
    const qint64 total = qint64{settings->count} * round.size();
    const auto start = std::chrono::steady_clock::now();
    qint64 sent = 0;
    while (total == 0 || sent < total) {
        if (!run_control::pause(kPace)) {
            return 0;
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        qint64 due = elapsed.count() * settings->rate / 1000;
        if (total > 0) {
            due = std::min(due, total);
        }
        QByteArray piece;
        for (; sent < due; ++sent) {
            piece += round.at(sent % round.size());
        }
        if (!piece.isEmpty() && !endpoint.write(piece)) {
            return run_control::stopRequested() ? 0 : 1;
        }
    }
    return 0;
}

}  // namespace

QByteArray seaSunRound(double pressure, double temperature, double conductivity) {
    // The conversion of a count gives S/m, as the window's field holds it.
    const double conductivitySm = conductivity / 10;
    return sea_sun::encodeWord(Channel::Pressure,
                               sea_sun::rawCountFor(Channel::Pressure, pressure)) +
           sea_sun::encodeWord(Channel::Temperature,
                               sea_sun::rawCountFor(Channel::Temperature, temperature)) +
           sea_sun::encodeWord(Channel::Conductivity,
                               sea_sun::rawCountFor(Channel::Conductivity, conductivitySm));
}

Mode seaSunMode() {
    return {"seasun", "a Sea & Sun CTD sending binary data words", addOptions, run};
}
