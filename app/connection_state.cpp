#include "app/connection_state.h"

#include <QLabel>

QString ConnectionState::text() const {
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

void showStatus(QLabel* line, const QString& text, bool alarm) {
    line->setText(text);
    line->setToolTip(text);
    const QString style = alarm ? QStringLiteral("color: red;") : QString();
    // Setting a style sheet re-polishes the label; most updates leave it as it is.
    if (line->styleSheet() != style) {
        line->setStyleSheet(style);
    }
}
