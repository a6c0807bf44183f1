#pragma once

#include <QString>

#include "logging/log_writer.h"

// What the window shows beside the sampling interval about the health of the log: a short text,
// a sentence with the details, and whether it is an alarm. All empty while no write has failed.
struct LogStatus {
    QString text;
    QString details;
    bool alarm = false;
};

LogStatus logStatus(const LogWriter& writer);
