#include "host_port.h"

#include <QHostInfo>
#include <algorithm>

std::optional<HostPort> HostPort::parse(const QString& text, int lowestPort) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    const std::optional<quint16> port = parsePort(text.mid(colon + 1), lowestPort);
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
    }
    if (colon < 0 || !port || host.isEmpty()) {
        return std::nullopt;
    }
    if (const QHostAddress address(host); !address.isNull()) {
        return HostPort{address, *port};
    }
    const QList<QHostAddress> found = QHostInfo::fromName(host).addresses();
    if (found.isEmpty()) {
        return std::nullopt;
    }
    const auto ipv4 = std::find_if(found.begin(), found.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    return HostPort{ipv4 != found.end() ? *ipv4 : found.front(), *port};
}

// An IPv4 peer of a socket that listens on both protocols shows as its IPv4 address.
QString HostPort::text() const {
    bool ipv4 = false;
    const QHostAddress plain(address.toIPv4Address(&ipv4));
    if (ipv4) {
        return plain.toString() + QLatin1Char(':') + QString::number(port);
    }
    return QLatin1Char('[') + address.toString() + QStringLiteral("]:") + QString::number(port);
}

std::optional<quint16> parsePort(const QString& text, int lowest) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < lowest || port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(port);
}
