#pragma once

#include <QString>

class QLabel;

// Shows `text` on a status line, red when `alarm`, with `details` as its tooltip for a line too
// narrow to hold them.
void showStatus(QLabel* line, const QString& text, bool alarm, const QString& details);
