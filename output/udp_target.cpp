#include "output/udp_target.h"

#include <QHostAddress>

namespace {

ParsedUdpTarget refused(const QString& problem) {
    return {std::nullopt, problem};
}

// Digits only: a sign, blanks or a decimal point in a port are typing errors, not numbers.
std::optional<quint16> portNumber(QStringView text) {
    bool digits = !text.isEmpty() && text.size() <= 5;
    for (const QChar c : text) {
        digits = digits && c >= u'0' && c <= u'9';
    }
    const int port = digits ? text.toInt() : 0;
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(port);
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
