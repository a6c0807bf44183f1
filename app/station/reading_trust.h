#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

// How far the values in the measurement fields can be trusted: their age against the stale
// limit, whether they are plausible, and whether they were typed by hand. Times are
// milliseconds of a steady clock that the caller passes in.
class ReadingTrust {
public:
    // Manual: typed into the calculator or the test entry; it ages like a reading, but is never
    // sent as a fresh one, since it is no reading of the sea.
    enum class State { NoReading, Fresh, Manual, Stale, Invalid };

    static constexpr qint64 kDefaultStaleLimitMs = 5000;

    void setStaleLimit(qint64 limitMs) { staleLimitMs_ = limitMs; }
    qint64 staleLimit() const { return staleLimitMs_; }

    // The quantities of an instrument that sends them one by one.
    enum class Channel { Pressure, Temperature, Conductivity };

    // The instrument was connected: from now on a reading is expected, and until the first one
    // comes the age counts from here. With `channelsApart` (a Sea & Sun, whose words come one by
    // one and each may be refused) a reading counts only once each channel has been accepted
    // since now, and stays fresh only while each has been accepted within the limit.
    void expectReadings(qint64 nowMs, bool channelsApart = false);
    void channelAccepted(Channel channel, qint64 nowMs);

    // A reading arrived. `invalid` names the value that makes it untrustworthy, empty when it is
    // plausible; `manual` when it came from the calculator or the test entry.
    void reading(qint64 nowMs, const QString& invalid, bool manual);

    State state(qint64 nowMs) const;
    // Whether any reading, from the instrument or typed by hand, has come in this run.
    bool hasReading() const { return lastMs_.has_value(); }
    // Whether a telegram may carry the fields when only fresh readings are to be sent.
    bool sendable(qint64 nowMs) const { return state(nowMs) == State::Fresh; }
    // Whether the values on show are to be read with doubt (stale or invalid).
    bool doubtful(qint64 nowMs) const;
    // "No reading for N s", "No temperature for N s", "Invalid reading: ...", "Manual value", or
    // empty.
    QString note(qint64 nowMs) const;

private:
    // Since when nothing has come: the last reading, or the connection before the first one.
    std::optional<qint64> waitingSince() const { return lastMs_ ? lastMs_ : expectedMs_; }
    // The channel missing longest past the limit, with since when; nullopt when none is.
    struct Missing {
        Channel channel;
        qint64 sinceMs;
    };
    std::optional<Missing> missingChannel(qint64 nowMs) const;

    qint64 staleLimitMs_ = kDefaultStaleLimitMs;
    std::optional<qint64> lastMs_;
    std::optional<qint64> expectedMs_;
    // Each channel's last acceptance, while the instrument sends them apart.
    std::optional<std::array<std::optional<qint64>, 3>> channels_;
    QString invalid_;
    bool manual_ = false;
};
