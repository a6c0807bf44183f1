#include "app/trend_history.h"

#include <algorithm>

void TrendHistory::add(qint64 ms, const Values& values, qint64 staleLimitMs) {
    if (!points_.empty() && points_.back().point.ms / 1000 == ms / 1000) {
        points_.back().point = {ms, values};
        return;
    }
    const bool startsSegment = points_.empty() || ms - points_.back().point.ms > staleLimitMs;
    points_.push_back({{ms, values}, startsSegment});
    while (points_.size() > kMaxPoints || points_.front().point.ms <= ms - kKeptMs) {
        points_.pop_front();
    }
}

std::vector<TrendHistory::Segment> TrendHistory::segments(qint64 nowMs, qint64 spanMs) const {
    const auto first = std::partition_point(points_.begin(), points_.end(), [&](const Stored& s) {
        return s.point.ms <= nowMs - spanMs;
    });
    std::vector<Segment> result;
    for (auto it = first; it != points_.end(); ++it) {
        if (it == first || it->startsSegment) {
            result.emplace_back();
        }
        result.back().push_back(it->point);
    }
    return result;
}

TrendHistory::Segment TrendHistory::thinned(const Segment& segment, Quantity quantity,
                                            qint64 binMs) {
    const auto lower = [quantity](const Point& a, const Point& b) {
        return a.values[quantity] < b.values[quantity];
    };
    Segment result;
    for (auto begin = segment.begin(); begin != segment.end();) {
        const qint64 bin = begin->ms / binMs;
        const auto end = std::find_if(begin, segment.end(),
                                      [&](const Point& point) { return point.ms / binMs != bin; });
        const auto [low, high] = std::minmax_element(begin, end, lower);
        result.push_back(*std::min(low, high));
        if (low != high) {
            result.push_back(*std::max(low, high));
        }
        begin = end;
    }
    return result;
}
