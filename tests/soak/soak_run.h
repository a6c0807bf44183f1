#pragma once

#include <QStringList>
#include <chrono>

#include "support/flood_verdict.h"
#include "support/log_verdict.h"

// The real window, offscreen, with real serial ports, reading a simulated instrument that floods
// its line with records, garbage, binary noise and over-long records, while it logs every 0.1 s
// and sends a telegram every 100 ms to a simulated echosounder.
struct SoakPlan {
    std::chrono::seconds duration{20};
    int bytesPerSecond = 11520;  // a 115200-baud line
    int garbageEvery = 97;
    int noiseEvery = 61;
    int longEvery = 37;
    int longLength = 700;
};

struct SoakReport {
    qint64 linesSent = 0;
    qint64 recordsSent = 0;
    qint64 longSent = 0;
    qint64 garbageSent = 0;
    qint64 noiseSent = 0;
    test_support::FloodVerdict flood;
    qint64 telegramsSent = 0;
    qint64 telegramsReceived = 0;
    qint64 telegramsMalformed = 0;
    qint64 samples = 0;
    test_support::LogVerdict log;
    // Resident memory and the heap in use once everything runs, half-way through the flood and
    // at its end.
    qint64 residentStart = 0;
    qint64 residentMiddle = 0;
    qint64 residentEnd = 0;
    qint64 heapStart = 0;
    qint64 heapMiddle = 0;
    qint64 heapEnd = 0;
    bool memoryJudged = true;
    // Every failure, those of the flood and the log included.
    QStringList faults;
};

SoakReport runSoak(const SoakPlan& plan);
