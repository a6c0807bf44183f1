#include "platform/port_settings.h"

#include <QList>
#include <charconv>

namespace {

// Digits only: no sign, no blanks inside, no decimals, and the value must fit an int.
std::optional<int> parseCount(QStringView text) {
    const QByteArray digits = text.toLatin1();
    if (digits.isEmpty() || digits.front() < '0' || digits.front() > '9') {
        return std::nullopt;
    }
    int value = 0;
    const char* end = digits.constData() + digits.size();
    const auto [stop, error] = std::from_chars(digits.constData(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

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
    const auto baudRate = parseCount(pieces[0].trimmed());
    const auto parity = parseParity(pieces[1].trimmed());
    const auto dataBits = parseCount(pieces[2].trimmed());
    const auto stopBits = parseStopBits(pieces[3].trimmed());
    if (!baudRate || *baudRate <= 0 || !parity || !dataBits || *dataBits < 5 || *dataBits > 8 ||
        !stopBits) {
        return std::nullopt;
    }
    return PortSettings{*baudRate, *parity, *dataBits, *stopBits};
}
