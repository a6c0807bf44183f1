#include "platform/connection_state.h"

QString ConnectionState::text() const {
    if (!brief.isEmpty()) {
        return brief;
    }
    switch (kind) {
        case Kind::Connected:
            return QStringLiteral("Connected: ") + detail;
        case Kind::Reconnecting:
            return QStringLiteral("Reconnecting ...");
        case Kind::Failed:
            return QStringLiteral("Not connected: ") + detail;
        case Kind::Idle:
            break;
    }
    return {};
}

QString ConnectionState::details() const {
    if (!brief.isEmpty()) {
        return detail;
    }
    if (kind == Kind::Reconnecting && !detail.isEmpty()) {
        return text() + QStringLiteral(" (") + detail + QLatin1Char(')');
    }
    return text();
}
