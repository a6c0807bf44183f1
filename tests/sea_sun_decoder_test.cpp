#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <map>

#include "input/bit_table.h"
#include "input/sea_sun_decoder.h"
#include "input/sea_sun_encoder.h"

namespace {

using sea_sun::Channel;

const BitTable& table() {
    static const BitTable built = buildBitTable();
    return built;
}

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

// What a tick leaves behind: the final working values, the last text of each label, and how
// often salinity and sound velocity ran.
struct Outcome {
    sea_sun::Values values;
    std::map<Channel, QString> labels;
    int computations = 0;
};

double held(const sea_sun::Values& values, Channel channel) {
    switch (channel) {
        case Channel::Pressure:
            return values.pressure;
        case Channel::Temperature:
            return values.temperature;
        case Channel::Conductivity:
            break;
    }
    return values.conductivity;
}

Outcome outcomeOf(const QByteArray& block, const sea_sun::Values& start = kStart) {
    const sea_sun::Decoding decoding = sea_sun::decode(block, table(), start);
    Outcome outcome{start, {}, decoding.computations()};
    for (const sea_sun::Step& step : decoding.steps) {
        EXPECT_GT(step.positions, 0);
        if (step.label) {
            outcome.labels[step.label->channel] = step.label->text;
        }
        outcome.values = step.values;
    }
    return outcome;
}

class SeaSunDecoder : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST(BitTable, EntriesWriteTheIndexInBaseTwoMostSignificantFirst) {
    EXPECT_EQ(table()[0], "00000000");
    EXPECT_EQ(table()[5], "00000101");
    EXPECT_EQ(table()[255], "11111111");
    for (int v = 0; v < 256; ++v) {
        bool ok = false;
        EXPECT_EQ(table()[v].size(), 8);
        EXPECT_EQ(table()[v].toInt(&ok, 2), v);
        int fromBits = 0;
        for (int bit = 0; bit < 8; ++bit) {
            fromBits += bitOf(table(), static_cast<unsigned char>(v), bit) << bit;
        }
        EXPECT_EQ(fromBits, v);
    }
}

TEST_F(SeaSunDecoder, WorkedBlocks) {
    const QByteArray pressureWord = bytes({0x36, 0x32, 0x10});
    struct Case {
        const char* name;
        QByteArray block;
        std::map<Channel, QString> labels;
        sea_sun::Values values;
        int computations;
    };
    const Case cases[] = {
        {"pressure word ending at index 21",
         blockEndingAt(pressureWord, 21),
         {{Channel::Pressure, "1.521"}},
         {1.5213549488635119, kStart.temperature, kStart.conductivity},
         20},
        {"the same word ending at index 20 is not taken",
         blockEndingAt(pressureWord, 20),
         {},
         kStart,
         19},
        {"bit 0 is not evaluated",
         blockEndingAt(bytes({0x37, 0x33, 0x11}), 21),
         {{Channel::Pressure, "1.521"}},
         {1.5213549488635119, kStart.temperature, kStart.conductivity},
         20},
        {"temperature",
         blockEndingAt(bytes({0x62, 0x4c, 0x1c}), 30),
         {{Channel::Temperature, "20.000"}},
         {kStart.pressure, -2.24735 + 0.000590408 * 37681, kStart.conductivity},
         29},
        {"conductivity",
         blockEndingAt(bytes({0xd0, 0x66, 0x24}), 21),
         {{Channel::Conductivity, "3.999"}},
         {kStart.pressure, kStart.temperature, 3.9994832051424405},
         20},
        {"channel 5 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x28}), 21), {}, kStart, 20},
        {"channel 1 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x08}), 21), {}, kStart, 20},
        {"channel 0 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x00}), 21), {}, kStart, 20},
        {"channel 31 is passed over", blockEndingAt(bytes({0x36, 0x32, 0xf8}), 21), {}, kStart, 20},
        // The first byte of the temperature word (0x10) has channel bits 2 and ends a pressure
        // word with the two bytes before it.
        {"a data byte with channel bits is taken as a word end",
         blockEndingAt(bytes({0x36, 0x32, 0x10, 0xae, 0x1a}), 23),
         {{Channel::Pressure, "1.521"}, {Channel::Temperature, "14.005"}},
         {1.5213549488635119, sea_sun::convert(Channel::Temperature, 27528), kStart.conductivity},
         22},
        {"a stray word end outside its window is dropped",
         blockEndingAt(bytes({0x10, 0xae, 0x1a}), 23),
         {{Channel::Temperature, "14.005"}},
         {kStart.pressure, sea_sun::convert(Channel::Temperature, 27528), kStart.conductivity},
         22},
        {"several pressure words: the last accepted one wins",
         blockEndingAt(pressureWord + sea_sun::encodeWord(Channel::Pressure, 3314) +
                           sea_sun::encodeWord(Channel::Pressure, 3315),
                       27),
         {{Channel::Pressure, "2.986"}},
         {sea_sun::convert(Channel::Pressure, 3314), kStart.temperature, kStart.conductivity},
         26},
        {"empty block", {}, {}, kStart, 0},
        {"one byte", bytes({0x10}), {}, kStart, 0},
        {"two bytes", bytes({0x32, 0x10}), {}, kStart, 0},
        {"three bytes: one position", bytes({0x36, 0x32, 0x10}), {}, kStart, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = outcomeOf(c.block);
        EXPECT_EQ(outcome.labels, c.labels);
        EXPECT_EQ(outcome.values.pressure, c.values.pressure);
        EXPECT_EQ(outcome.values.temperature, c.values.temperature);
        EXPECT_EQ(outcome.values.conductivity, c.values.conductivity);
        EXPECT_EQ(outcome.computations, c.computations);
    }
}

// The window applies steps in order: an accepted word's label and the values stored with it
// belong to the same step, and the steps cover every position from index 2.
TEST_F(SeaSunDecoder, StepsCarryEachAcceptedWordWithTheValuesStoredAfterIt) {
    const QByteArray block =
        blockEndingAt(sea_sun::encodeWord(Channel::Temperature, 37681) +
                          sea_sun::encodeWord(Channel::Conductivity, 39400) + QByteArray(2, '\0'),
                      26);
    const sea_sun::Decoding decoding = sea_sun::decode(block, table(), kStart);
    ASSERT_EQ(decoding.steps.size(), 3u);
    EXPECT_FALSE(decoding.steps[0].label);
    EXPECT_EQ(decoding.steps[0].positions, 19);  // indices 2..20
    EXPECT_EQ(decoding.steps[0].values.temperature, kStart.temperature);
    ASSERT_TRUE(decoding.steps[1].label);
    EXPECT_EQ(decoding.steps[1].label->channel, Channel::Temperature);
    EXPECT_EQ(decoding.steps[1].positions, 3);  // indices 21..23
    EXPECT_EQ(decoding.steps[1].values.temperature, sea_sun::convert(Channel::Temperature, 37681));
    EXPECT_EQ(decoding.steps[1].values.conductivity, kStart.conductivity);
    ASSERT_TRUE(decoding.steps[2].label);
    EXPECT_EQ(decoding.steps[2].label->channel, Channel::Conductivity);
    EXPECT_EQ(decoding.steps[2].positions, 3);  // indices 24..26
    EXPECT_EQ(decoding.steps[2].values.temperature, sea_sun::convert(Channel::Temperature, 37681));
    EXPECT_EQ(decoding.steps[2].values.conductivity, 3.9994832051424405);
}

TEST_F(SeaSunDecoder, AcceptanceWindowEdgesByRawCount) {
    struct Case {
        Channel channel;
        int rawCount;
        bool taken;
    };
    const Case cases[] = {
        {Channel::Pressure, 3136, false},      {Channel::Pressure, 3137, true},
        {Channel::Pressure, 3314, true},       {Channel::Pressure, 3315, false},
        {Channel::Temperature, 27518, false},  {Channel::Temperature, 27519, true},
        {Channel::Temperature, 47843, true},   {Channel::Temperature, 47844, false},
        {Channel::Conductivity, 19830, false}, {Channel::Conductivity, 19831, true},
        {Channel::Conductivity, 58978, true},  {Channel::Conductivity, 58979, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rawCount);
        const Outcome outcome =
            outcomeOf(blockEndingAt(sea_sun::encodeWord(c.channel, c.rawCount), 21));
        EXPECT_EQ(outcome.labels.count(c.channel), c.taken ? 1u : 0u);
        EXPECT_EQ(held(outcome.values, c.channel),
                  c.taken ? sea_sun::convert(c.channel, c.rawCount) : held(kStart, c.channel));
    }
}

TEST(SeaSunConversion, BoundsThemselvesAreRejected) {
    struct Case {
        Channel channel;
        double low;
        double high;
    };
    for (const Case& c : {Case{Channel::Pressure, 0, 3}, Case{Channel::Temperature, 14, 26},
                          Case{Channel::Conductivity, 2, 6}}) {
        EXPECT_FALSE(sea_sun::accepted(c.channel, c.low));
        EXPECT_FALSE(sea_sun::accepted(c.channel, c.high));
        EXPECT_TRUE(sea_sun::accepted(c.channel, std::nextafter(c.low, c.high)));
        EXPECT_TRUE(sea_sun::accepted(c.channel, std::nextafter(c.high, c.low)));
    }
}

TEST(SeaSunEncoder, WordsMatchTheInstrumentsBytes) {
    EXPECT_EQ(sea_sun::encodeWord(Channel::Pressure, 3227), bytes({0x36, 0x32, 0x10}));
    EXPECT_EQ(sea_sun::encodeWord(Channel::Temperature, 37681), bytes({0x62, 0x4c, 0x1c}));
    EXPECT_EQ(sea_sun::encodeWord(Channel::Conductivity, 39400), bytes({0xd0, 0x66, 0x24}));
    EXPECT_EQ(sea_sun::encodeWord(Channel::Conductivity, 65535), bytes({0xfe, 0xfe, 0x26}));
}

// Every count whose value the decoder takes comes back through the word and through the
// nearest-count search.
TEST_F(SeaSunDecoder, EncodingRoundTripsOverEveryAcceptedCount) {
    for (const Channel channel : {Channel::Pressure, Channel::Temperature, Channel::Conductivity}) {
        SCOPED_TRACE(static_cast<int>(channel));
        int taken = 0;
        for (int count = 0; count <= sea_sun::kMaxRawCount; ++count) {
            const double value = sea_sun::convert(channel, count);
            ASSERT_EQ(sea_sun::rawCountFor(channel, value), count);
            if (!sea_sun::accepted(channel, value) || count % 97 != 0) {
                continue;
            }
            ++taken;
            const Outcome outcome =
                outcomeOf(blockEndingAt(sea_sun::encodeWord(channel, count), 21));
            EXPECT_EQ(outcome.labels.count(channel), 1u);
            EXPECT_EQ(held(outcome.values, channel), value);
        }
        EXPECT_GT(taken, 0);
        EXPECT_EQ(sea_sun::rawCountFor(channel, -1e6), 0);
        EXPECT_EQ(sea_sun::rawCountFor(channel, 1e6), sea_sun::kMaxRawCount);
    }
}

}  // namespace
