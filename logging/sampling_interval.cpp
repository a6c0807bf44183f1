#include "logging/sampling_interval.h"

#include "platform/number_text.h"
#include "platform/timer.h"

std::optional<int> samplingIntervalMs(const QString& typed) {
    const std::optional<double> seconds = number_text::parse(typed);
    return seconds ? number_text::toWhole(*seconds * 1000, 0, Timer::kMaxInterval) : std::nullopt;
}

QString samplingIntervalRefused(const QString& typed) {
    return QStringLiteral(
               "\"%1\" is not a sampling interval. Please enter a number of seconds from 0 to %2.")
        .arg(typed, number_text::formatGeneral(Timer::kMaxInterval / 1000.0));
}
