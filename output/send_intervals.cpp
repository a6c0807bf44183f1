#include "output/send_intervals.h"

#include "platform/number_text.h"
#include "platform/timer.h"

std::optional<SendIntervals> sendIntervals(const QString& typed) {
    const auto number = number_text::parse(typed);
    const auto send = number ? number_text::toWhole(*number, 0, Timer::kMaxInterval) : std::nullopt;
    if (!send) {
        return std::nullopt;
    }
    // Half of a send interval within 0..65535 always fits a timer.
    return SendIntervals{*send, *number_text::toWhole(*number / 2, 0, Timer::kMaxInterval)};
}

QString sendIntervalRefused() {
    return QStringLiteral("the ms box needs 0 to 65535");
}
