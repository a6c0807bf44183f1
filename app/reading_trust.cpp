#include "app/reading_trust.h"

void ReadingTrust::reading(qint64 nowMs, const QString& invalid, bool manual) {
    lastMs_ = nowMs;
    invalid_ = invalid;
    manual_ = manual;
}

ReadingTrust::State ReadingTrust::state(qint64 nowMs) const {
    if (!lastMs_) {
        return State::NoReading;
    }
    if (nowMs - *lastMs_ > staleLimitMs_) {
        return State::Stale;
    }
    return invalid_.isEmpty() ? State::Fresh : State::Invalid;
}

QString ReadingTrust::note(qint64 nowMs) const {
    switch (state(nowMs)) {
        case State::Stale:
            return QStringLiteral("No reading for %1 s").arg((nowMs - *lastMs_) / 1000);
        case State::Invalid:
            return QStringLiteral("Invalid reading: ") + invalid_;
        case State::Fresh:
            return manual_ ? QStringLiteral("Manual value") : QString();
        case State::NoReading:
            break;
    }
    return {};
}
