#pragma once

#include <optional>

#include "app/station/reading_trust.h"
#include "input/instrument_reading.h"
#include "input/instruments.h"
#include "logging/log_line.h"
#include "output/telegrams.h"
#include "seawater/plausibility.h"

// The measurement fields through which the readers, the calculator, the senders and the log
// exchange values, and how far they can be trusted. Every reading stores what its instrument
// gives, then computes salinity and sound velocity from the stored values, or takes the sound
// velocity it measured.
class Measurement {
public:
    double pressure = 0;       // bar (an instrument's decibars / 10)
    double conductivity = 0;   // S/m (mS/cm / 10)
    double temperature = 0;    // degrees Celsius
    double salinity = 0;       // practical salinity, full precision
    double soundvelocity = 0;  // m/s, two decimals

    // What the instrument read now gives; a field it does not give is shown, sent and logged as
    // nothing, never as the figure it happens to hold.
    Quantities given;

    // An instrument was started: readings are expected from now on.
    void expectReadings(qint64 nowMs, const Instrument& instrument);
    // The values an instrument gave, each into its field.
    void store(const InstrumentReading& reading, qint64 nowMs);
    // Salinity from conductivity, temperature and pressure; false, the field unchanged, when
    // none can be computed.
    bool computeSalinity();
    // Sound velocity from salinity, temperature and pressure, as the two-decimal figure that the
    // label, the telegrams and the log all carry; false, the field unchanged, when none can be
    // computed.
    bool computeSoundVelocity();
    // An instrument's own sound velocity, rounded as a computed one is; false, the field
    // unchanged, when it is no number.
    bool takeMeasuredSoundVelocity(double velocity);
    // A reading is complete in the fields: its age and plausibility start from here.
    void noteReading(qint64 nowMs, bool manual);

    // What a send tick may carry now: nothing before the first reading of this run; then the
    // fields, unless only fresh readings are to be sent and these are not (stale, invalid or
    // typed by hand).
    std::optional<Sounding> sendable(qint64 nowMs) const;
    LogValues logValues() const;
    // The fields, those the instrument does not give empty.
    seawater::Reading givenValues() const;

    ReadingTrust readingTrust;
    bool sendFreshOnly = false;

private:
    // Values typed by hand give every quantity, whatever the instrument gives.
    bool typed_ = false;
};
