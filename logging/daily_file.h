#pragma once

#include <QDate>
#include <QString>

// The file of one day of a log: the date before the extension ("cast.txt" gives
// "cast-2026-12-09.txt"), so that the day's files sort by date beside each other.
QString dailyFile(const QString& path, const QDate& day);
