#pragma once

#include <optional>

#include "logging/log_writer.h"
#include "platform/connection_state.h"

// The log's state for the line beside the sampling interval: a short text that begins with what
// matters (the narrow line shows no more), the details for its tooltip, and whether it is an
// alarm. Idle, and silent, while no write has failed or hung.
ConnectionState logState(const LogWriter& writer, qint64 nowMs);

// A file call that has not returned for this long is told: a disk that answers slowly, not
// only one that has stopped.
inline constexpr qint64 kDiskWaitToldMs = 5000;
// The file call under way at `nowMs`, once it has waited long enough to be told.
std::optional<LogWriter::Busy> toldDiskWait(const LogWriter& writer, qint64 nowMs);
