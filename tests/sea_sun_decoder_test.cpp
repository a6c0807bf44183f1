#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "input/bit_table.h"
#include "input/sea_sun_decoder.h"
#include "input/sea_sun_encoder.h"

namespace {

using sea_sun::Channel;
using enum sea_sun::Channel;
using sea_sun::encodeWord;
using Taken = std::map<Channel, double>;

constexpr Channel kChannels[] = {Pressure, Temperature, Conductivity};

// Zero bytes up to the word, whose last byte lands at lastIndex.
QByteArray blockEndingAt(const QByteArray& word, int lastIndex) {
    return QByteArray(lastIndex + 1 - word.size(), '\0') + word;
}

// Starting values that no window accepts, so a taken value always shows.
constexpr sea_sun::Values kStart{7.5, 8.5, 9.5};

// Decodes the block and checks what a tick leaves behind: a label update and the final value
// for each channel taken, the other channels untouched, and salinity and sound velocity run once
// per position from index 2 on.
void expectTaken(const QByteArray& block, const Taken& taken) {
    static const BitTable table = buildBitTable();
    const sea_sun::Decoding decoding = sea_sun::decode(block, table, kStart);
    sea_sun::Values start = kStart, last = kStart;
    Taken labelled;
    qsizetype positions = 0;
    for (const sea_sun::Step& step : decoding.steps) {
        positions += step.positions;
        last = step.values;
        if (step.label) {
            labelled[step.label->channel] = sea_sun::valueOf(last, step.label->channel);
        }
    }
    EXPECT_EQ(positions, std::max<qsizetype>(0, block.size() - 2));
    EXPECT_EQ(labelled, taken) << "a label changes with each value taken";
    for (const Channel c : kChannels) {
        EXPECT_EQ(sea_sun::valueOf(last, c),
                  taken.contains(c) ? taken.at(c) : sea_sun::valueOf(start, c));
    }
}

TEST(SeaSunDecoder, WorkedBlocks) {
    const auto at = [](const char* hex, int lastIndex) {
        return blockEndingAt(QByteArray::fromHex(hex), lastIndex);
    };
    const Taken::value_type pressure{Pressure, 1.5213549488635119};
    const Taken::value_type temperature{Temperature, sea_sun::convert(Temperature, 27528)};
    const struct {
        const char* name;
        QByteArray block;
        Taken taken;
    } cases[] = {
        {"pressure word ending at index 21", at("363210", 21), {pressure}},
        {"the same word ending at index 20 is not taken", at("363210", 20), {}},
        {"bit 0 is not evaluated", at("373311", 21), {pressure}},
        {"temperature", at("624c1c", 30), {{Temperature, -2.24735 + 0.000590408 * 37681}}},
        {"conductivity", at("d06624", 21), {{Conductivity, 3.9994832051424405}}},
        {"channel 5 is passed over", at("363228", 21), {}},
        // The first byte of the temperature word (0x10) has channel bits 2 and ends a pressure
        // word with the two bytes before it.
        {"a data byte's channel bits end a word", at("363210ae1a", 23), {pressure, temperature}},
        {"a stray word end outside its window is dropped", at("10ae1a", 23), {temperature}},
        {"several pressure words: the last accepted one wins",
         at("363210", 21) + encodeWord(Pressure, 3314) + encodeWord(Pressure, 3315),
         {{Pressure, sea_sun::convert(Pressure, 3314)}}},
        {"empty block", {}, {}},
        {"three bytes: one position", QByteArray::fromHex("363210"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectTaken(c.block, c.taken);
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
        {Pressure, 3137, 3314, 0, 3},
        {Temperature, 27519, 47843, 14, 26},
        {Conductivity, 19831, 58978, 2, 6},
    };
    for (const auto& c : cases) {
        for (const int count : {c.first - 1, c.first, c.last, c.last + 1}) {
            SCOPED_TRACE(count);
            const bool inside = count == c.first || count == c.last;
            expectTaken(blockEndingAt(encodeWord(c.channel, count), 21),
                        inside ? Taken{{c.channel, sea_sun::convert(c.channel, count)}} : Taken{});
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
    EXPECT_EQ(encodeWord(Pressure, 3227), QByteArray::fromHex("363210"));
    EXPECT_EQ(encodeWord(Temperature, 37681), QByteArray::fromHex("624c1c"));
    EXPECT_EQ(encodeWord(Conductivity, 65535), QByteArray::fromHex("fefe26"));
    for (const Channel channel : kChannels) {
        SCOPED_TRACE(static_cast<int>(channel));
        for (int count = 0; count <= sea_sun::kMaxRawCount; ++count) {
            const double value = sea_sun::convert(channel, count);
            ASSERT_EQ(sea_sun::rawCountFor(channel, value), count);
            if (sea_sun::accepted(channel, value) && count % 97 == 0) {
                expectTaken(blockEndingAt(encodeWord(channel, count), 21), {{channel, value}});
            }
        }
        EXPECT_EQ(sea_sun::rawCountFor(channel, -1e6), 0);
        EXPECT_EQ(sea_sun::rawCountFor(channel, 1e6), sea_sun::kMaxRawCount);
    }
}

}  // namespace
