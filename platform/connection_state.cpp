#include "platform/connection_state.h"

namespace {

QString withNote(const QString& text, const QString& note) {
    return note.isEmpty() ? text : text + QStringLiteral(" (") + note + QLatin1Char(')');
}

}  // namespace

QString ConnectionState::text() const {
    return withNote(words(), note);
}

QString ConnectionState::words() const {
    if (!brief.isEmpty()) {
        return brief;
    }
    switch (kind) {
        case Kind::Connected:
            return QStringLiteral("Connected: ") + detail;
        case Kind::Listening:
            return QStringLiteral("Listening on ") + detail;
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
        return withNote(words(), detail);
    }
    return text();
}
