#include "app/station/measurement.h"

#include "platform/number_text.h"
#include "seawater/plausibility.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

void Measurement::expectReadings(qint64 nowMs, const Instrument& instrument) {
    readingTrust.expectReadings(nowMs, instrument.channelsApart);
}

void Measurement::store(const InstrumentReading& reading, qint64 nowMs) {
    using Channel = ReadingTrust::Channel;
    const std::pair<const std::optional<double>&, std::pair<double&, Channel>> values[] = {
        {reading.pressure, {pressure, Channel::Pressure}},
        {reading.conductivity, {conductivity, Channel::Conductivity}},
        {reading.temperature, {temperature, Channel::Temperature}}};
    for (const auto& [value, field] : values) {
        if (value) {
            field.first = *value;
            readingTrust.channelAccepted(field.second, nowMs);
        }
    }
}

bool Measurement::computeSalinity() {
    const auto result = seawater::practicalSalinity(conductivity, temperature, pressure);
    if (!result) {
        return false;
    }
    salinity = *result;
    return true;
}

bool Measurement::computeSoundVelocity() {
    const auto velocity = seawater::soundVelocity(salinity, temperature, pressure);
    return velocity && takeMeasuredSoundVelocity(*velocity);
}

bool Measurement::takeMeasuredSoundVelocity(double velocity) {
    const std::optional<double> rounded = number_text::roundToHundredths(velocity);
    if (!rounded) {
        return false;
    }
    soundvelocity = *rounded;
    return true;
}

void Measurement::noteReading(qint64 nowMs, bool manual) {
    typed_ = manual;
    readingTrust.reading(nowMs, seawater::implausibleValue(givenValues()), manual);
}

// No sea has a sound velocity of 0: before the first reading nothing is sent at all.
std::optional<Sounding> Measurement::sendable(qint64 nowMs) const {
    if (!readingTrust.hasReading() || (sendFreshOnly && !readingTrust.sendable(nowMs))) {
        return std::nullopt;
    }
    return Sounding{soundvelocity, pressure, givenValues().temperature};
}

// Before the first reading the fields hold zeros no sea has: the line keeps its time and its
// columns, with nothing in them.
LogValues Measurement::logValues() const {
    if (!readingTrust.hasReading()) {
        return {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    }
    const seawater::Reading values = givenValues();
    return {values.conductivity, values.pressure, values.temperature, values.salinity,
            values.soundvelocity};
}

seawater::Reading Measurement::givenValues() const {
    const Quantities gives = typed_ ? Quantities{} : given;
    const auto ifGiven = [](bool known, double value) {
        return known ? std::optional(value) : std::nullopt;
    };
    return {ifGiven(gives.conductivity, conductivity), ifGiven(gives.temperature, temperature),
            pressure, ifGiven(gives.salinity(), salinity), soundvelocity};
}
