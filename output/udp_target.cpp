#include "output/udp_target.h"

#include <QHostAddress>

#include "platform/number_text.h"

namespace {

ParsedUdpTarget refused(const QString& problem) {
    return {std::nullopt, problem};
}

// No more than the five digits a port can have: "000005602" is a slip of the keyboard.
std::optional<quint16> portNumber(QStringView text) {
    const std::optional<int> port =
        text.size() <= 5 ? number_text::parseDigits(text) : std::nullopt;
    if (!port || *port < 1 || *port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(*port);
}

}  // namespace

QString UdpTarget::text() const {
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

ParsedUdpTarget parseUdpTarget(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        return refused(QStringLiteral("no target: type host:port"));
    }
    QString host;
    QStringView port;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        host = text.mid(1, close - 1);
        if (close < 0 || QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol) {
            return refused(QStringLiteral("\"%1\" is no IPv6 address in brackets").arg(text));
        }
        if (text.mid(close + 1, 1) != QLatin1String(":")) {
            return refused(QStringLiteral("no port after the address: type [address]:port"));
        }
        port = QStringView(text).mid(close + 2);
    } else {
        const qsizetype colon = text.indexOf(u':');
        if (colon < 0) {
            return refused(QStringLiteral("no port: type host:port"));
        }
        if (text.indexOf(u':', colon + 1) >= 0) {
            return refused(QStringLiteral("an IPv6 address goes in brackets: [address]:port"));
        }
        host = text.left(colon);
        if (host.isEmpty()) {
            return refused(QStringLiteral("no host before the colon"));
        }
        port = QStringView(text).mid(colon + 1);
    }
    const std::optional<quint16> number = portNumber(port);
    if (!number) {
        return refused(QStringLiteral("the port must be 1 to 65535, not \"%1\"").arg(port));
    }
    return {UdpTarget{host, *number}, {}};
}
