#include <gtest/gtest.h>

#include <tuple>

#include "app/station/reading_trust.h"

namespace {

using Channel = ReadingTrust::Channel;

// A Sea & Sun sends its channels apart, and each can be refused: a reading counts only once all
// three were accepted since the connection, and stays fresh only while each still comes.
TEST(ReadingTrust, EachSeaSunChannelMustBeFresh) {
    const std::tuple<const char*, std::vector<std::pair<Channel, qint64>>, qint64,
                     ReadingTrust::State, const char*>
        cases[] = {
            {"never a temperature",
             {{Channel::Pressure, 1000}, {Channel::Conductivity, 1000}},
             1000,
             ReadingTrust::State::NoReading,
             ""},
            {"never a temperature, past the limit",
             {{Channel::Pressure, 11000}, {Channel::Conductivity, 11000}},
             12000,
             ReadingTrust::State::Stale,
             "No temperature for 12 s"},
            {"all three, then the temperature silent",
             {{Channel::Temperature, 1000},
              {Channel::Pressure, 9000},
              {Channel::Conductivity, 9000}},
             9000,
             ReadingTrust::State::Stale,
             "No temperature for 8 s"},
            {"all fresh",
             {{Channel::Temperature, 8000},
              {Channel::Pressure, 9000},
              {Channel::Conductivity, 9000}},
             9000,
             ReadingTrust::State::Fresh,
             ""},
        };
    for (const auto& [name, accepted, nowMs, state, note] : cases) {
        ReadingTrust trust;
        trust.expectReadings(0, true);
        for (const auto& [channel, atMs] : accepted) {
            trust.channelAccepted(channel, atMs);
            trust.reading(atMs, {}, false);
        }
        EXPECT_EQ(trust.state(nowMs), state) << name;
        EXPECT_EQ(trust.note(nowMs), QString::fromLatin1(note)) << name;
        EXPECT_EQ(trust.hasReading(), accepted.size() == 3) << name;
    }
}

}  // namespace
