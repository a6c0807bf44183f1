#pragma once

#include <QByteArray>
#include <QLocale>
#include <QStringView>

#include "platform/named_rows.h"
#include "platform/number_text.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

// The lines of the ASCII instruments the simulator plays, each in the instrument's own format,
// with its line end. Header-only, so that a test can hold every line to the record layout the
// program reads it with, without running the simulator.
namespace instrument_lines {

// Instrument records always use "." as the decimal point.
inline QByteArray format(double value, QStringView pattern) {
    return number_text::formatPattern(value, pattern, QLocale::c()).toLatin1();
}

// What the simulated water holds, in the units the instruments show.
struct Water {
    double pressure = 0;       // dbar
    double conductivity = 0;   // mS/cm
    double temperature = 0;    // degrees Celsius
    double soundVelocity = 0;  // m/s
};

// A sound-velocity probe measures what the window computes from the same water; water that
// gives none (a conductivity below zero) has a velocity no line can show.
inline Water waterOf(double conductivity, double pressure, double temperature) {
    const double bar = pressure / 10;
    const std::optional<double> salinity =
        seawater::practicalSalinity(conductivity / 10, temperature, bar);
    const std::optional<double> velocity =
        salinity ? seawater::soundVelocity(*salinity, temperature, bar) : std::nullopt;
    return {pressure, conductivity, temperature, velocity.value_or(std::nan(""))};
}

struct Instrument {
    const char* name;  // as the record layout the program reads it with is named
    QByteArray (*line)(const Water& water);
};

inline QByteArray svProbe(const Water& water) {
    return ' ' + format(water.soundVelocity, u"0.000") + "\r\n";
}

// Valeport's fixed-width fields: the leading zeros stay, a minus sign goes before them. The
// pressure has two decimals, as a sensor of up to a few hundred dbar sends it.
inline QByteArray miniCtd(const Water& water) {
    return format(water.pressure, u"000.00") + '\t' + format(water.temperature, u"00.000") +
           '\t' + format(water.conductivity, u"00.000") + "\r\n";
}

inline QByteArray miniSvp(const Water& water) {
    return format(water.pressure, u"000.00") + '\t' + format(water.temperature, u"00.000") +
           '\t' + format(water.soundVelocity, u"0000.000") + "\r\n";
}

// Conductivity in S/m, without leading zeros.
inline QByteArray sbe45(const Water& water) {
    return format(water.temperature, u"0.0000") + ", " +
           format(water.conductivity / 10, u"0.00000") + "\r\n";
}

inline constexpr Instrument kInstruments[] = {{"SV probe", svProbe},
                                              {"Valeport miniCTD", miniCtd},
                                              {"Valeport miniSVP", miniSvp},
                                              {"SBE 45", sbe45}};

inline const NamedRows<Instrument>& instruments() {
    static const NamedRows<Instrument> instruments{kInstruments, kInstruments[0]};
    return instruments;
}

}  // namespace instrument_lines
