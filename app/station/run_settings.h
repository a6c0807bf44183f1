#pragma once

#include <QString>
#include <QStringList>

#include "input/instruments.h"
#include "output/send_intervals.h"
#include "output/telegram_formats.h"

// What runs, from section [Run] of the settings store, with the port texts of [COM_Port] that the
// connections open. The intervals are read once, here; their texts stay for the boxes that show
// them.
struct RunSettings {
    const Instrument* instrument = &instruments::table().standard;
    bool input = false;
    bool output = false;
    const TelegramFormat* telegram = &telegrams::formats().standard;
    QString sendIntervalText = QStringLiteral("500");  // ms, as typed
    SendIntervals sendIntervals = {500, 250};
    QString logFile;                                   // empty: no log
    QString sampleIntervalText = QStringLiteral("1");  // seconds, as typed
    int sampleIntervalMs = 1000;
    QString inputPort = QStringLiteral("1");
    QString inputSettings = QStringLiteral("19200,N,8,1");
    QString outputPort = QStringLiteral("2");
    QString outputSettings = QStringLiteral("4800,N,8,1");
};

struct ReadRunSettings {
    RunSettings run;
    // One sentence for each value that cannot be used, naming its key and the value; its
    // default stands in for it.
    QStringList problems;
};

ReadRunSettings readRunSettings();

// What the window runs all the same, showing what comes of it, but a program left to itself must
// not start with: an interval that never ticks, a connection to run whose port text has no
// settings, a port to run that is no serial device. One sentence each, as for the problems.
QStringList unattendedProblems(const RunSettings& run);
