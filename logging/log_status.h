#pragma once

#include <optional>

#include "logging/log_writer.h"
#include "platform/connection_state.h"

// The log's state for the line beside the sampling interval: a short text that begins with what
// matters (the narrow line shows no more), the details for its tooltip, and whether it is an
// alarm. Idle, and silent, while no write has failed or hung.
struct DiskWait {
    QString path;
    qint64 ms;
};
ConnectionState logState(const LogWriter& writer, const std::optional<DiskWait>& wait);

// How long the log's file call under way has waited, on the clock of the thread that asks, from
// the first time it saw that call: no clock is read on the log's own thread.
class DiskWaitWatch {
public:
    // A call that has not returned for this long is told: a disk that answers slowly, not only
    // one that has stopped.
    static constexpr qint64 kToldAfterMs = 5000;
    // The wait, once it is long enough to be told.
    std::optional<DiskWait> told(const std::optional<LogWriter::Busy>& busy, qint64 nowMs);

private:
    qint64 call_ = 0;
    qint64 sinceMs_ = 0;
};
