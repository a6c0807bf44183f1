#include "app/status_line.h"

#include <QLabel>

namespace {

constexpr char kDesignedAlignment[] = "designedAlignment";

}  // namespace

// A text too long for its line shows its beginning, which says what matters, whatever the line's
// own alignment; the tooltip holds the rest.
void showStatus(QLabel* line, const QString& text, bool alarm, const QString& details) {
    line->setText(text);
    line->setToolTip(details);
    if (!line->property(kDesignedAlignment).isValid()) {
        line->setProperty(kDesignedAlignment, static_cast<int>(line->alignment()));
    }
    const bool fits = line->fontMetrics().horizontalAdvance(text) <= line->contentsRect().width();
    line->setAlignment(fits ? Qt::Alignment(line->property(kDesignedAlignment).toInt())
                            : Qt::AlignLeft | Qt::AlignVCenter);
    const QString style = alarm ? QStringLiteral("color: red;") : QString();
    // Setting a style sheet re-polishes the label; most updates leave it as it is.
    if (line->styleSheet() != style) {
        line->setStyleSheet(style);
    }
}
