#pragma once

#include <QString>
#include <optional>

// Where the telegrams go by UDP, as typed in one box: "host:port", the host an IPv4 address
// (a broadcast address too), a name, or an IPv6 address in brackets ("[::1]:5602"), whose own
// colons would otherwise hide the port.
struct UdpTarget {
    QString host;  // without the brackets
    quint16 port = 0;

    // Written back the way it is typed, brackets and all.
    QString text() const;
    bool operator==(const UdpTarget&) const = default;
};

// The target a box names, or why it names none, in words for the status line.
struct ParsedUdpTarget {
    std::optional<UdpTarget> target;
    QString problem;
};
ParsedUdpTarget parseUdpTarget(const QString& typed);
