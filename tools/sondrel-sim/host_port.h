#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

// A network address as the command line gives it and the messages show it: "HOST:PORT", an
// IPv6 address in brackets.
struct HostPort {
    QHostAddress address;
    quint16 port = 0;

    // The host by address or by name, a name taking its first IPv4 address if it has one, since
    // a program listening on IPv4 alone would refuse the IPv6 one forever; the port at least
    // `lowestPort`. nullopt when the text is no HOST:PORT or the name has no address.
    static std::optional<HostPort> parse(const QString& text, int lowestPort);

    QString text() const;
};

// A port number from `lowest` to 65535.
std::optional<quint16> parsePort(const QString& text, int lowest);
