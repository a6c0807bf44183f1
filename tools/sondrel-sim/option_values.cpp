#include "option_values.h"

#include <iostream>

#include "platform/number_text.h"

namespace option_values {

const QCommandLineOption kDrift("drift",
                                "Let the values swing slowly around the given ones, so that a "
                                "display visibly changes.");

bool readReading(const QCommandLineParser& parser, const QCommandLineOption& conductivity,
                 const QCommandLineOption& pressure, const QCommandLineOption& temperature,
                 Reading& reading) {
    reading.drift = parser.isSet(kDrift);
    return readNumber(parser, conductivity, reading.conductivity) &&
           readNumber(parser, pressure, reading.pressure) &&
           readNumber(parser, temperature, reading.temperature);
}

bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, double& value) {
    const auto parsed = number_text::parseInstrument(parser.value(option));
    if (!parsed) {
        std::cerr << "sondrel-sim: --" << option.names().front().toStdString()
                  << " needs a number\n";
        return false;
    }
    value = *parsed;
    return true;
}

bool readCount(const QCommandLineParser& parser, const QCommandLineOption& option, int min,
               int& value) {
    const auto parsed = number_text::parseInstrument(parser.value(option));
    const auto whole = parsed ? number_text::toWhole(*parsed, min, 1'000'000'000) : std::nullopt;
    if (!whole || *whole != *parsed) {
        std::cerr << "sondrel-sim: --" << option.names().front().toStdString()
                  << " needs a whole number of at least " << min << '\n';
        return false;
    }
    value = *whole;
    return true;
}

}  // namespace option_values
