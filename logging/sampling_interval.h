#pragma once

#include <QString>
#include <optional>

// The sampling interval typed in seconds (the user's number format) as whole milliseconds, ties
// to even; nullopt unless it gives 0 to 65.535 s, the longest a timer takes.
std::optional<int> samplingIntervalMs(const QString& typed);
// Why samplingIntervalMs() gave none.
QString samplingIntervalRefused(const QString& typed);
