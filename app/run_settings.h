#pragma once

#include <QString>
#include <QStringList>

#include "input/input_controller.h"
#include "output/telegrams.h"

// What runs, from section [Run] of the settings store, with the port texts of [COM_Port] that the
// connections open.
struct RunSettings {
    Instrument instrument = Instrument::Kestrane;
    bool input = false;
    bool output = false;
    Telegram telegram = Telegram::AppMicrosystems;
    QString sendInterval = QStringLiteral("500");  // ms, as typed
    QString logFile;                               // empty: no log
    QString sampleInterval = QStringLiteral("1");  // seconds, as typed
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

class Measurement;
class OutputController;

// Starts what `run` asks of the input and the output, with nobody there to answer: a device that
// is not there yet is retried quietly, and the input's silence counts from now.
void startConnections(const RunSettings& run, InputController& input, OutputController& output,
                      Measurement& measurement, qint64 nowMs);
