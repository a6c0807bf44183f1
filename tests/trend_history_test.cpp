#include <gtest/gtest.h>

#include <tuple>

#include "app/trend_history.h"

namespace {

TrendHistory::Values valuesOf(double v) {
    return {1500 + v, v, 35, 1};
}

std::vector<std::size_t> segmentSizes(const TrendHistory& history, qint64 nowMs, qint64 spanMs) {
    std::vector<std::size_t> sizes;
    for (const TrendHistory::Segment& segment : history.segments(nowMs, spanMs)) {
        sizes.push_back(segment.size());
    }
    return sizes;
}

// Seven hours at ten readings a second keep only the last six hours, a point a second that shows
// the latest reading within it.
TEST(TrendHistory, KeepsSixHoursAtOnePointASecond) {
    TrendHistory history;
    qint64 ms = 500;
    for (int i = 0; i < 7 * 3600 * 10; ++i, ms += 100) {
        history.add(ms, valuesOf(i), 5000);
        ASSERT_LE(history.size(), TrendHistory::kMaxPoints);
    }
    const auto segments = history.segments(ms, TrendHistory::kKeptMs);
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].size(), TrendHistory::kMaxPoints);
    EXPECT_GT(segments[0].front().ms, ms - TrendHistory::kKeptMs);
    EXPECT_EQ(segments[0].back().ms, ms - 100);
    EXPECT_EQ(segments[0].back().values, valuesOf(7 * 3600 * 10 - 1));
    EXPECT_EQ(segmentSizes(history, ms, 600'000), std::vector<std::size_t>{601})
        << "ten minutes that start within a second touch 601 of them";
}

// A silence longer than the stale limit breaks the line; one of the limit itself does not.
TEST(TrendHistory, SilencePastTheStaleLimitStartsASegment) {
    const std::tuple<qint64, qint64, std::vector<std::size_t>> cases[] = {
        {5000, 5000, {6}}, {5001, 5000, {3, 3}}, {1500, 1000, {3, 3}}, {3'600'000, 5000, {3, 3}}};
    for (const auto& [silenceMs, limitMs, sizes] : cases) {
        SCOPED_TRACE(silenceMs);
        TrendHistory history;
        qint64 ms = 10'000;
        for (int i = 0; i < 6; ++i) {
            history.add(ms, valuesOf(i), limitMs);
            ms += i == 2 ? silenceMs : 1000;
        }
        EXPECT_EQ(segmentSizes(history, ms, TrendHistory::kKeptMs), sizes);
    }
}

// Each stretch keeps its lowest and highest value in their order, so no spike is lost.
TEST(TrendHistory, ThinningKeepsEachStretchsExtremes) {
    TrendHistory::Segment segment;
    for (const double v : {3, 1, 4, 1, 9, 5}) {
        segment.push_back({qint64(segment.size()) * 1000, valuesOf(v)});
    }
    for (const auto& [binMs, expected] :
         {std::pair<qint64, std::vector<qint64>>{1000, {0, 1000, 2000, 3000, 4000, 5000}},
          {3000, {1000, 2000, 3000, 4000}},
          {6000, {1000, 4000}}}) {
        std::vector<qint64> kept;
        for (const auto& point : TrendHistory::thinned(segment, TrendHistory::Temperature, binMs)) {
            kept.push_back(point.ms);
        }
        EXPECT_EQ(kept, expected) << binMs;
    }
}

}  // namespace
