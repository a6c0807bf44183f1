#pragma once

#include "logging/log_writer.h"
#include "platform/connection_state.h"

// The log's state for the line beside the sampling interval: a short text that begins with what
// matters (the narrow line shows no more), the details for its tooltip, and whether it is an
// alarm. Idle, and silent, while no write has failed.
ConnectionState logState(const LogWriter& writer);
