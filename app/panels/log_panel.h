#pragma once

#include <optional>

#include "app/panels/panel.h"
#include "app/station/station.h"

// The data log: "Browse ..." with its questions, the sampling interval, the samples counted, the
// log status line and "Log time in UTC"; at the ending, what became of lines the file could not
// take.
class LogPanel : public Panel {
public:
    explicit LogPanel(const PanelContext& context);

    // The sampling interval as `run` gives it.
    void show(const RunSettings& run) override;
    // Told once, at the start after the one that saved them.
    void reportRecoveredLogs();
    // Where the lines the log file cannot take at the ending may go, asked of the user.
    Station::FileChooser rescueChooser();
    // The recovery file that took the lines nothing else could.
    void tellRecovery(const std::optional<LogController::Recovery>& recovery);

private:
    void chooseLogFile();
    void tellRefused(const QString& path, const QString& reason, LogController::Asked asked);
    void setSamplingInterval();
    void showSamplingInterval(const QString& typed);
    void showLogFile();
    void showStatus() const;
    void inform(const QString& text);

    bool neverSamples_ = false;  // the sampling interval in force is 0
};
