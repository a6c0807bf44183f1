#include "app/status_line.h"

#include <QLabel>

void showStatus(QLabel* line, const QString& text, bool alarm, const QString& details) {
    line->setText(text);
    line->setToolTip(details);
    const QString style = alarm ? QStringLiteral("color: red;") : QString();
    // Setting a style sheet re-polishes the label; most updates leave it as it is.
    if (line->styleSheet() != style) {
        line->setStyleSheet(style);
    }
}
