#pragma once

#include <QHostAddress>
#include <QString>
#include <variant>

// Where a network link goes, as a port mapping names it: "tcp://10.0.0.5:4001",
// "tcp-listen://:4001?from=10.0.0.5", "udp://239.0.0.1:5601". A serial device server offers its
// line in one of these three ways.
struct LinkAddress {
    enum class Kind { Tcp, TcpListen, Udp };

    Kind kind = Kind::Tcp;
    // The name or address to connect to; for a listening link the address to listen on, empty
    // for all of them.
    QString host;
    quint16 port = 0;
    // A listening link takes connections and datagrams from this address only; null for any.
    QHostAddress from;

    bool listens() const { return kind != Kind::Tcp; }
    // "10.0.0.5:4001", "[fe80::1]:4001", "0.0.0.0:5601".
    QString hostPort() const;
    // "tcp://10.0.0.5:4001", "udp://0.0.0.0:5601": what the status line names.
    QString text() const;
    bool operator==(const LinkAddress&) const = default;
};

namespace link_address {

// Whether a mapping names a link rather than a device: it has a scheme.
bool isLink(const QString& mapping);
// The link a mapping names, or why it cannot be used, in words that fit after "cannot be used:".
std::variant<LinkAddress, QString> parse(const QString& mapping);
// "10.0.0.9", also for an IPv4 peer seen on a socket that listens on IPv6 as well.
QString addressText(const QHostAddress& address);

}  // namespace link_address
