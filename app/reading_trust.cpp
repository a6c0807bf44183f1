#include "app/reading_trust.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"

namespace {

// About 30,000 years: any longer limit is the same as none, and the milliseconds stay in range.
constexpr double kLongestLimitMs = 1e15;

}  // namespace

std::optional<qint64> ReadingTrust::staleLimitMs(const QString& typed) {
    const std::optional<double> seconds = number_text::parse(typed);
    if (!seconds || !(*seconds > 0)) {
        return std::nullopt;
    }
    return std::max<qint64>(1, std::llround(std::min(*seconds * 1000, kLongestLimitMs)));
}

void ReadingTrust::reading(qint64 nowMs, const QString& invalid, bool manual) {
    lastMs_ = nowMs;
    invalid_ = invalid;
    manual_ = manual;
}

ReadingTrust::State ReadingTrust::state(qint64 nowMs) const {
    const std::optional<qint64> since = waitingSince();
    if (since && nowMs - *since > staleLimitMs_) {
        return State::Stale;
    }
    if (!lastMs_) {
        return State::NoReading;
    }
    if (!invalid_.isEmpty()) {
        return State::Invalid;
    }
    return manual_ ? State::Manual : State::Fresh;
}

bool ReadingTrust::doubtful(qint64 nowMs) const {
    const State now = state(nowMs);
    return now == State::Stale || now == State::Invalid;
}

QString ReadingTrust::note(qint64 nowMs) const {
    switch (state(nowMs)) {
        case State::Stale:
            return QStringLiteral("No reading for %1 s").arg((nowMs - *waitingSince()) / 1000);
        case State::Invalid:
            return QStringLiteral("Invalid reading: ") + invalid_;
        case State::Manual:
            return QStringLiteral("Manual value");
        case State::Fresh:
        case State::NoReading:
            break;
    }
    return {};
}
