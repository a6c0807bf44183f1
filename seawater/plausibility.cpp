#include "seawater/plausibility.h"

#include <limits>

namespace seawater {

namespace {

struct Bounds {
    const char16_t* what;  // name, bounds and unit, as the window shows the value
    double low, high;
    std::optional<double> shown;  // the value in that unit
};

bool within(const Bounds& bounds) {
    return !bounds.shown || (bounds.low <= *bounds.shown && *bounds.shown <= bounds.high);
}

}  // namespace

QString implausibleValue(const Reading& reading) {
    // The inputs come first: a value outside them also throws the computed ones off.
    const Bounds bounds[] = {
        {u"temperature outside -5 to 45 °C", -5, 45, reading.temperature},
        {u"conductivity outside 0 to 10 S/m", 0, 10, reading.conductivity},
        {u"pressure outside -20 to 12000 dbar", -20, 12000,
         reading.pressure ? std::optional(*reading.pressure * 10) : std::nullopt},
        // With the inputs in bounds, a negative salinity is the one thing that stops the sound
        // velocity being computed: the field still holds the one of an earlier reading.
        {u"salinity below 0, no sound velocity", 0, std::numeric_limits<double>::max(),
         reading.salinity},
        {u"sound velocity outside 1350 to 1800 m/s", 1350, 1800, reading.soundvelocity},
    };
    for (const Bounds& value : bounds) {
        if (!within(value)) {
            return QString::fromUtf16(value.what);
        }
    }
    return {};
}

}  // namespace seawater
