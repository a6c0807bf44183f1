#include "app/station/reading_trust.h"

#include <algorithm>

namespace {

QString channelName(ReadingTrust::Channel channel) {
    switch (channel) {
        case ReadingTrust::Channel::Pressure:
            return QStringLiteral("pressure");
        case ReadingTrust::Channel::Temperature:
            return QStringLiteral("temperature");
        case ReadingTrust::Channel::Conductivity:
            break;
    }
    return QStringLiteral("conductivity");
}

}  // namespace

void ReadingTrust::expectReadings(qint64 nowMs, bool channelsApart) {
    expectedMs_ = nowMs;
    channels_.reset();
    if (channelsApart) {
        channels_.emplace();
    }
}

void ReadingTrust::channelAccepted(Channel channel, qint64 nowMs) {
    if (channels_) {
        (*channels_)[static_cast<std::size_t>(channel)] = nowMs;
    }
}

std::optional<ReadingTrust::Missing> ReadingTrust::missingChannel(qint64 nowMs) const {
    std::optional<Missing> longest;
    if (!channels_ || manual_) {
        return longest;
    }
    for (const Channel channel : {Channel::Pressure, Channel::Temperature, Channel::Conductivity}) {
        const qint64 since =
            (*channels_)[static_cast<std::size_t>(channel)].value_or(expectedMs_.value_or(nowMs));
        if (nowMs - since > staleLimitMs_ && (!longest || since < longest->sinceMs)) {
            longest = Missing{channel, since};
        }
    }
    return longest;
}

void ReadingTrust::reading(qint64 nowMs, const QString& invalid, bool manual) {
    const auto accepted = [](const std::optional<qint64>& at) { return at.has_value(); };
    if (!manual && channels_ && !std::all_of(channels_->begin(), channels_->end(), accepted)) {
        return;
    }
    lastMs_ = nowMs;
    invalid_ = invalid;
    manual_ = manual;
}

ReadingTrust::State ReadingTrust::state(qint64 nowMs) const {
    const std::optional<qint64> since = waitingSince();
    if ((since && nowMs - *since > staleLimitMs_) || missingChannel(nowMs)) {
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
            if (const std::optional<Missing> missing = missingChannel(nowMs)) {
                return QStringLiteral("No %1 for %2 s")
                    .arg(channelName(missing->channel))
                    .arg((nowMs - missing->sinceMs) / 1000);
            }
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
