#include "input/sea_sun_decoder.h"

#include <array>

#include "platform/number_text.h"
#include "seawater/polynomial.h"

namespace sea_sun {

namespace {

// A word counts only when its last byte lies at this index of the block or later, so the first
// nineteen bytes of every read never contribute to a value.
constexpr qsizetype kFirstWordEnd = 21;

// Coefficients of a calibration polynomial, constant term first.
using Polynomial = std::array<double, 4>;

constexpr Polynomial kPressure = {-52.7677, 0.0168136, 3.13546e-09, -3.22414e-14};
constexpr Polynomial kTemperature = {-2.24735, 0.000590408, 0, 0};
// Gives mS/cm; the field holds S/m.
constexpr Polynomial kConductivity = {-0.259727, 0.00102162, 1.75929e-12, 0};

// Bits highBit..lowBit of a byte as a number, each bit read through the table.
int bitField(const BitTable& table, unsigned char byte, int highBit, int lowBit) {
    int value = 0;
    for (int bit = highBit; bit >= lowBit; --bit) {
        value += bitOf(table, byte, bit) * (1 << (bit - lowBit));
    }
    return value;
}

std::optional<Channel> channelNamed(int number) {
    switch (number) {
        case static_cast<int>(Channel::Pressure):
            return Channel::Pressure;
        case static_cast<int>(Channel::Temperature):
            return Channel::Temperature;
        case static_cast<int>(Channel::Conductivity):
            return Channel::Conductivity;
        default:
            return std::nullopt;
    }
}

unsigned char byteAt(const QByteArray& block, qsizetype index) {
    return static_cast<unsigned char>(block.at(index));
}

}  // namespace

double& valueOf(Values& values, Channel channel) {
    switch (channel) {
        case Channel::Pressure:
            return values.pressure;
        case Channel::Temperature:
            return values.temperature;
        case Channel::Conductivity:
            break;
    }
    return values.conductivity;
}

double convert(Channel channel, int rawCount) {
    switch (channel) {
        case Channel::Pressure:
            return seawater::termByTerm(rawCount, kPressure);
        case Channel::Temperature:
            return seawater::termByTerm(rawCount, kTemperature);
        case Channel::Conductivity:
            break;
    }
    return seawater::termByTerm(rawCount, kConductivity) / 10;
}

bool accepted(Channel channel, double value) {
    switch (channel) {
        case Channel::Pressure:
            return 0 < value && value < 3;
        case Channel::Temperature:
            return 14 < value && value < 26;
        case Channel::Conductivity:
            break;
    }
    return 2 < value && value < 6;
}

Decoding decode(const QByteArray& block, const BitTable& bitTable, const Values& start) {
    Decoding result;
    Values working = start;
    for (qsizetype i = 2; i < block.size(); ++i) {
        const unsigned char last = byteAt(block, i);
        const std::optional<Channel> channel = channelNamed(bitField(bitTable, last, 7, 3));
        std::optional<LabelUpdate> label;
        if (channel && i >= kFirstWordEnd) {
            const int rawCount = bitField(bitTable, byteAt(block, i - 2), 7, 1) +
                                 128 * bitField(bitTable, byteAt(block, i - 1), 7, 1) +
                                 16384 * bitField(bitTable, last, 2, 1);
            const double value = convert(*channel, rawCount);
            if (accepted(*channel, value)) {
                valueOf(working, *channel) = value;
                label = LabelUpdate{*channel, number_text::formatPattern(value, u"0.000")};
            }
        }
        if (label || result.steps.empty()) {
            result.steps.push_back(Step{0, label, working});
        }
        ++result.steps.back().positions;
    }
    return result;
}

}  // namespace sea_sun
