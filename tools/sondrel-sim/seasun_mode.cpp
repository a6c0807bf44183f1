#include "seasun_mode.h"

#include <optional>

#include "drift.h"
#include "input/sea_sun_encoder.h"
#include "option_values.h"
#include "paced_stream.h"

namespace {

using option_values::kDrift;
using option_values::readCount;
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

constexpr int kRoundBytes = 9;

struct Settings {
    option_values::Reading values;
    int rate = 0;
    int count = 0;
};

std::optional<Settings> readSettings(const QCommandLineParser& parser) {
    Settings s;
    if (option_values::readReading(parser, kConductivity, kPressure, kTemperature, s.values) &&
        readCount(parser, kRate, 1, s.rate) && readCount(parser, kCount, 0, s.count)) {
        return s;
    }
    return std::nullopt;
}

// Round n (from 0) of the stream. The swings take about a minute and a half to three minutes,
// whatever the rate.
QByteArray roundAt(const Settings& s, int n) {
    const double seconds = static_cast<double>(n) * kRoundBytes / s.rate;
    const auto swing = [&](double amplitude, double period) {
        return s.values.drift ? drift::swing(seconds, amplitude, period) : 0;
    };
    return seaSunRound(s.values.pressure + swing(0.5, 90), s.values.temperature + swing(1, 180),
                       s.values.conductivity + swing(2, 120));
}

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({kPressure, kTemperature, kConductivity, kDrift, kRate, kCount});
}

// The stream starts at the first byte of a word; the reader falls into it wherever its reads
// happen to cut.
int run(const QCommandLineParser& parser, Endpoint& endpoint) {
    const auto settings = readSettings(parser);
    if (!settings) {
        return 2;
    }
    int rounds = 0;
    const auto end =
        paced_stream::send(endpoint, settings->rate, [&]() -> std::optional<QByteArray> {
            if (settings->count != 0 && rounds >= settings->count) {
                return std::nullopt;
            }
            return roundAt(*settings, rounds++);
        });
    return end == paced_stream::End::LineFailed ? 1 : 0;
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
    return {"seasun", "a Sea & Sun CTD sending binary data words", Mode::Flow::Sends, addOptions,
            run};
}
