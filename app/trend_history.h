#pragma once

#include <QtGlobal>
#include <array>
#include <deque>
#include <vector>

// The readings of the last six hours for the trend, at most one point a second, so that a fast
// instrument costs no more than a slow one. Times are milliseconds of a steady clock that the
// caller passes in.
class TrendHistory {
public:
    enum Quantity { SoundVelocity, Temperature, Salinity, Pressure, kQuantities };
    using Values = std::array<double, kQuantities>;

    struct Point {
        qint64 ms;
        Values values;
    };
    // Readings with no silence longer than the stale limit between them, oldest first.
    using Segment = std::vector<Point>;

    static constexpr qint64 kKeptMs = 6 * 3600 * 1000;
    static constexpr std::size_t kMaxPoints = kKeptMs / 1000;

    // A reading at `ms`. Within the second of the last point it replaces that point, so the
    // point shows the latest values; after a silence longer than `staleLimitMs` it starts a new
    // segment.
    void add(qint64 ms, const Values& values, qint64 staleLimitMs);

    // The segments of the `spanMs` up to `nowMs` (its start excluded, as with the six hours kept).
    std::vector<Segment> segments(qint64 nowMs, qint64 spanMs) const;

    // The segment cut into `binMs` stretches of the steady clock, each down to its lowest and
    // highest value of `quantity` in their order, so that a long span draws no more points than
    // the plot has room for and still shows every spike.
    static Segment thinned(const Segment& segment, Quantity quantity, qint64 binMs);

    std::size_t size() const { return points_.size(); }

private:
    struct Stored {
        Point point;
        bool startsSegment;
    };
    std::deque<Stored> points_;
};
