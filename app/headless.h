#pragma once

#include <QObject>

#include "app/measurement.h"
#include "app/run_settings.h"
#include "app/services.h"
#include "platform/settings_store.h"

class InputController;
class OutputController;
class LogController;
class StatusReport;

// The program without a window, for a logging server or a PC that runs it as a service: the same
// controllers, started as the settings file says, every change of their state on standard error.
class Headless : public QObject {
    Q_OBJECT
public:
    Headless(const Services& services, const settings_store::Options& options,
             QObject* parent = nullptr);

    // Starts what `run` asks for; a device that is not there yet is retried quietly. False, with
    // the reason on standard error, when the log file cannot be made ready.
    bool start(const RunSettings& run);
    // Ends as the window ends when nobody may answer: the waiting log lines go to the log file or
    // a recovery file, the ports close, and the event loop quits with status 0.
    void end();

private:
    void storeReading(const InstrumentReading& reading);

    Services services_;
    settings_store::Options options_;
    Measurement measurement_;
    InputController* input_;
    OutputController* output_;
    LogController* log_;
    StatusReport* statusReport_;
};
