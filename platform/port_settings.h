#pragma once

#include <QStringView>
#include <optional>

// A settings text such as "19200,N,8,1": baud rate, parity letter, data bits and stop bits,
// separated by commas. Blanks around each piece are tolerated; anything else is refused, so a
// port is never opened with settings the user did not ask for.
struct PortSettings {
    enum class Parity { None, Odd, Even, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const PortSettings&, const PortSettings&) = default;
};

// nullopt for text that does not name usable settings: a baud rate that is not a positive whole
// number, a parity other than N, O, E, M or S (either case), data bits outside 5..8, stop bits
// other than 1, 1.5 or 2, or a piece missing or left over.
std::optional<PortSettings> parsePortSettings(QStringView text);
