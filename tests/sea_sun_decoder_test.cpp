#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "input/bit_table.h"
#include "input/sea_sun_decoder.h"
#include "input/sea_sun_encoder.h"

namespace {

using sea_sun::Channel;
using sea_sun::encodeWord;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (const int v : values) {
        result.append(static_cast<char>(v));
    }
    return result;
}

// Zero bytes up to the word, whose last byte lands at lastIndex.
QByteArray blockEndingAt(const QByteArray& word, int lastIndex) {
    return QByteArray(lastIndex + 1 - word.size(), '\0') + word;
}

// Starting values that no window accepts, so a taken value always shows.
constexpr sea_sun::Values kStart{7.5, 8.5, 9.5};

// Decodes the block and checks what a tick leaves behind: a label update and the final value
// for each channel taken, the other channels untouched, and how often salinity and sound
// velocity ran (once per position from index 2 on).
void expectTaken(const QByteArray& block, const std::map<Channel, double>& taken,
                 int computations) {
    static const BitTable table = buildBitTable();
    const sea_sun::Decoding decoding = sea_sun::decode(block, table, kStart);
    EXPECT_EQ(decoding.computations(), computations);
    std::map<Channel, double> held = {{Channel::Pressure, kStart.pressure},
                                      {Channel::Temperature, kStart.temperature},
                                      {Channel::Conductivity, kStart.conductivity}};
    std::map<Channel, double> expected = held;
    std::map<Channel, double> labelled;
    for (const sea_sun::Step& step : decoding.steps) {
        held = {{Channel::Pressure, step.values.pressure},
                {Channel::Temperature, step.values.temperature},
                {Channel::Conductivity, step.values.conductivity}};
        if (step.label) {
            labelled[step.label->channel] = held[step.label->channel];
        }
    }
    for (const auto& [channel, value] : taken) {
        expected[channel] = value;
    }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(labelled, taken) << "a label changes with each value taken";
}

TEST(SeaSunDecoder, WorkedBlocks) {
    const QByteArray pressureWord = bytes({0x36, 0x32, 0x10});
    const std::pair<const Channel, double> pressure{Channel::Pressure, 1.5213549488635119};
    const std::pair<const Channel, double> temperature{
        Channel::Temperature, sea_sun::convert(Channel::Temperature, 27528)};
    const struct {
        const char* name;
        QByteArray block;
        int computations;
        std::map<Channel, double> taken;
    } cases[] = {
        {"pressure word ending at index 21", blockEndingAt(pressureWord, 21), 20, {pressure}},
        {"the same word ending at index 20 is not taken", blockEndingAt(pressureWord, 20), 19, {}},
        {"bit 0 is not evaluated", blockEndingAt(bytes({0x37, 0x33, 0x11}), 21), 20, {pressure}},
        {"temperature",
         blockEndingAt(bytes({0x62, 0x4c, 0x1c}), 30),
         29,
         {{Channel::Temperature, -2.24735 + 0.000590408 * 37681}}},
        {"conductivity",
         blockEndingAt(bytes({0xd0, 0x66, 0x24}), 21),
         20,
         {{Channel::Conductivity, 3.9994832051424405}}},
        {"channel 5 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x28}), 21), 20, {}},
        // The first byte of the temperature word (0x10) has channel bits 2 and ends a pressure
        // word with the two bytes before it.
        {"a data byte with channel bits is taken as a word end",
         blockEndingAt(bytes({0x36, 0x32, 0x10, 0xae, 0x1a}), 23),
         22,
         {pressure, temperature}},
        {"a stray word end outside its window is dropped",
         blockEndingAt(bytes({0x10, 0xae, 0x1a}), 23),
         22,
         {temperature}},
        {"several pressure words: the last accepted one wins",
         blockEndingAt(pressureWord + encodeWord(Channel::Pressure, 3314) +
                           encodeWord(Channel::Pressure, 3315),
                       27),
         26,
         {{Channel::Pressure, sea_sun::convert(Channel::Pressure, 3314)}}},
        {"empty block", {}, 0, {}},
        {"two bytes", bytes({0x32, 0x10}), 0, {}},
        {"three bytes: one position", pressureWord, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectTaken(c.block, c.taken, c.computations);
    }
}

// The windows by raw count (the first and last count taken) and by value (the bounds themselves
// are not taken).
TEST(SeaSunDecoder, AcceptanceWindowEdges) {
    const struct {
        Channel channel;
        int first, last;
        double low, high;
    } cases[] = {
        {Channel::Pressure, 3137, 3314, 0, 3},
        {Channel::Temperature, 27519, 47843, 14, 26},
        {Channel::Conductivity, 19831, 58978, 2, 6},
    };
    for (const auto& c : cases) {
        for (const int count : {c.first - 1, c.first, c.last, c.last + 1}) {
            SCOPED_TRACE(count);
            std::map<Channel, double> taken;
            if (count == c.first || count == c.last) {
                taken[c.channel] = sea_sun::convert(c.channel, count);
            }
            expectTaken(blockEndingAt(encodeWord(c.channel, count), 21), taken, 20);
        }
        EXPECT_FALSE(sea_sun::accepted(c.channel, c.low));
        EXPECT_FALSE(sea_sun::accepted(c.channel, c.high));
        EXPECT_TRUE(sea_sun::accepted(c.channel, std::nextafter(c.low, c.high)));
        EXPECT_TRUE(sea_sun::accepted(c.channel, std::nextafter(c.high, c.low)));
    }
}

// The encoder writes the instrument's bytes, and every count whose value the decoder takes
// comes back through the word and through the nearest-count search.
TEST(SeaSunEncoder, WordsMatchTheInstrumentAndRoundTrip) {
    EXPECT_EQ(encodeWord(Channel::Pressure, 3227), bytes({0x36, 0x32, 0x10}));
    EXPECT_EQ(encodeWord(Channel::Temperature, 37681), bytes({0x62, 0x4c, 0x1c}));
    EXPECT_EQ(encodeWord(Channel::Conductivity, 65535), bytes({0xfe, 0xfe, 0x26}));
    for (const Channel channel : {Channel::Pressure, Channel::Temperature, Channel::Conductivity}) {
        SCOPED_TRACE(static_cast<int>(channel));
        for (int count = 0; count <= sea_sun::kMaxRawCount; ++count) {
            const double value = sea_sun::convert(channel, count);
            ASSERT_EQ(sea_sun::rawCountFor(channel, value), count);
            if (sea_sun::accepted(channel, value) && count % 97 == 0) {
                expectTaken(blockEndingAt(encodeWord(channel, count), 21), {{channel, value}}, 20);
            }
        }
        EXPECT_EQ(sea_sun::rawCountFor(channel, -1e6), 0);
        EXPECT_EQ(sea_sun::rawCountFor(channel, 1e6), sea_sun::kMaxRawCount);
    }
}

}  // namespace
