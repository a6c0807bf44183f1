#include "platform/port_settings.h"

#include <QList>

#include "platform/number_text.h"

namespace {

std::optional<PortSettings::Parity> parseParity(QStringView text) {
    if (text.size() != 1) {
        return std::nullopt;
    }
    switch (text.front().toUpper().unicode()) {
        case 'N':
            return PortSettings::Parity::None;
        case 'O':
            return PortSettings::Parity::Odd;
        case 'E':
            return PortSettings::Parity::Even;
        case 'M':
            return PortSettings::Parity::Mark;
        case 'S':
            return PortSettings::Parity::Space;
        default:
            return std::nullopt;
    }
}

std::optional<PortSettings::StopBits> parseStopBits(QStringView text) {
    if (text == u"1") {
        return PortSettings::StopBits::One;
    }
    if (text == u"1.5") {
        return PortSettings::StopBits::OneAndHalf;
    }
    if (text == u"2") {
        return PortSettings::StopBits::Two;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PortSettings> parsePortSettings(QStringView text) {
    const QList<QStringView> pieces = text.split(u',');
    if (pieces.size() != 4) {
        return std::nullopt;
    }
    const auto baudRate = number_text::parseDigits(pieces[0].trimmed());
    const auto parity = parseParity(pieces[1].trimmed());
    const auto dataBits = number_text::parseDigits(pieces[2].trimmed());
    const auto stopBits = parseStopBits(pieces[3].trimmed());
    if (!baudRate || *baudRate <= 0 || !parity || !dataBits || *dataBits < 5 || *dataBits > 8 ||
        !stopBits) {
        return std::nullopt;
    }
    return PortSettings{*baudRate, *parity, *dataBits, *stopBits};
}
