#include "platform/link_address.h"

#include <QRegularExpression>
#include <array>

namespace {

struct Scheme {
    const char* name;
    LinkAddress::Kind kind;
};

constexpr std::array kSchemes{Scheme{"tcp", LinkAddress::Kind::Tcp},
                              Scheme{"tcp-listen", LinkAddress::Kind::TcpListen},
                              Scheme{"udp", LinkAddress::Kind::Udp}};

constexpr char kForms[] =
    "give tcp://HOST:PORT, tcp-listen://[ADDRESS]:PORT or udp://[ADDRESS]:PORT";

const Scheme* schemeNamed(const QString& name) {
    for (const Scheme& scheme : kSchemes) {
        if (name == QLatin1String(scheme.name)) {
            return &scheme;
        }
    }
    return nullptr;
}

// Dotted numbers are an address, never a name: "999.1.1.1" is a typing error, not a host to look
// up.
bool looksNumeric(const QString& host) {
    static const QRegularExpression dotted(QStringLiteral("^[0-9.]+$"));
    return dotted.match(host).hasMatch();
}

}  // namespace

QString LinkAddress::hostPort() const {
    QString shown = host;
    if (shown.isEmpty()) {
        shown = QStringLiteral("0.0.0.0");
    } else if (shown.contains(u':')) {
        shown = QLatin1Char('[') + shown + QLatin1Char(']');
    }
    return shown + QLatin1Char(':') + QString::number(port);
}

QString LinkAddress::text() const {
    for (const Scheme& scheme : kSchemes) {
        if (scheme.kind == kind) {
            return QLatin1String(scheme.name) + QStringLiteral("://") + hostPort();
        }
    }
    return {};
}

namespace link_address {

bool isLink(const QString& mapping) {
    return mapping.contains(QStringLiteral("://"));
}

std::variant<LinkAddress, QString> parse(const QString& mapping) {
    static const QRegularExpression form(QStringLiteral(
        R"(^([A-Za-z][A-Za-z0-9+.-]*)://(\[[^\]]*\]|[^:/?\[\]]*)(?::([0-9]*))?(?:\?(.*))?$)"));
    const QRegularExpressionMatch match = form.match(mapping);
    if (!match.hasMatch()) {
        return QString::fromLatin1(kForms);
    }
    const Scheme* scheme = schemeNamed(match.captured(1).toLower());
    if (!scheme) {
        return QStringLiteral("%1:// is no kind of link; %2").arg(match.captured(1), kForms);
    }
    LinkAddress link;
    link.kind = scheme->kind;
    link.host = match.captured(2);
    const bool bracketed = link.host.startsWith(u'[');
    if (bracketed) {
        link.host = link.host.mid(1, link.host.size() - 2);
    }
    if (!match.hasCaptured(3) || match.captured(3).isEmpty()) {
        return QStringLiteral("it names no port; give one after a colon, such as %1://%2:4001")
            .arg(QLatin1String(scheme->name), match.captured(2));
    }
    bool numeric = false;
    const int port = match.captured(3).toInt(&numeric);
    if (!numeric || port < 1 || port > 65535) {
        return QStringLiteral("port %1 is outside 1..65535").arg(match.captured(3));
    }
    link.port = static_cast<quint16>(port);
    if (link.kind == LinkAddress::Kind::Tcp && link.host.isEmpty()) {
        return QStringLiteral("it names no host to connect to");
    }
    const bool address = !QHostAddress(link.host).isNull();
    if (!address &&
        (bracketed || looksNumeric(link.host) || (link.listens() && !link.host.isEmpty()))) {
        return QStringLiteral("%1 is no address").arg(link.host);
    }
    const QString query = match.captured(4);
    if (!query.isEmpty()) {
        if (!link.listens()) {
            return QStringLiteral(
                "only a listening link takes from=; a tcp:// link chooses its "
                "far end itself");
        }
        if (!query.startsWith(QStringLiteral("from="))) {
            return QStringLiteral("\"?%1\" is no option; a listening link takes ?from=ADDRESS")
                .arg(query);
        }
        link.from = QHostAddress(query.mid(5));
        if (link.from.isNull()) {
            return QStringLiteral(
                       "from=%1 is no address; give the device server's, such as "
                       "from=10.0.0.5")
                .arg(query.mid(5));
        }
    }
    return link;
}

QString addressText(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ipv4 = address.toIPv4Address(&v4);
    return v4 ? QHostAddress(ipv4).toString() : address.toString();
}

}  // namespace link_address
