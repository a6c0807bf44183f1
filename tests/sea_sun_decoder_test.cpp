#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <map>

#include "input/bit_table.h"
#include "input/sea_sun_decoder.h"
#include "input/sea_sun_encoder.h"
#include "platform/number_text.h"

namespace {

using sea_sun::Channel;
using sea_sun::encodeWord;

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

double held(const sea_sun::Values& values, Channel channel) {
    return channel == Channel::Pressure      ? values.pressure
           : channel == Channel::Temperature ? values.temperature
                                             : values.conductivity;
}

// A channel whose word was taken: its label's last text and the value the fields end with.
struct Taken {
    QString label;
    double value;
};

// Decodes the block and checks what a tick leaves behind: the labels and final values of the
// channels taken, the other channels untouched, and how often salinity and sound velocity ran.
void expectTaken(const QByteArray& block, const std::map<Channel, Taken>& taken, int computations) {
    QLocale::setDefault(QLocale::c());
    const sea_sun::Decoding decoding = sea_sun::decode(block, table(), kStart);
    EXPECT_EQ(decoding.computations(), computations);
    std::map<Channel, QString> labels;
    sea_sun::Values values = kStart;
    for (const sea_sun::Step& step : decoding.steps) {
        EXPECT_GT(step.positions, 0);
        if (step.label) {
            labels[step.label->channel] = step.label->text;
        }
        values = step.values;
    }
    for (const Channel channel : {Channel::Pressure, Channel::Temperature, Channel::Conductivity}) {
        const auto found = taken.find(channel);
        const bool wasTaken = found != taken.end();
        EXPECT_EQ(labels.count(channel), wasTaken ? 1u : 0u) << static_cast<int>(channel);
        EXPECT_EQ(labels[channel], wasTaken ? found->second.label : QString());
        EXPECT_EQ(held(values, channel), wasTaken ? found->second.value : held(kStart, channel));
    }
}

TEST(BitTable, EntriesWriteTheIndexInBaseTwoMostSignificantFirst) {
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

TEST(SeaSunDecoder, WorkedBlocks) {
    using P = std::pair<const Channel, Taken>;
    const QByteArray pressureWord = bytes({0x36, 0x32, 0x10});
    const P pressure{Channel::Pressure, {"1.521", 1.5213549488635119}};
    const P temperature{Channel::Temperature,
                        {"14.005", sea_sun::convert(Channel::Temperature, 27528)}};
    const struct {
        const char* name;
        QByteArray block;
        int computations;
        std::map<Channel, Taken> taken;
    } cases[] = {
        {"pressure word ending at index 21", blockEndingAt(pressureWord, 21), 20, {pressure}},
        {"the same word ending at index 20 is not taken", blockEndingAt(pressureWord, 20), 19, {}},
        {"bit 0 is not evaluated", blockEndingAt(bytes({0x37, 0x33, 0x11}), 21), 20, {pressure}},
        {"temperature",
         blockEndingAt(bytes({0x62, 0x4c, 0x1c}), 30),
         29,
         {{Channel::Temperature, {"20.000", -2.24735 + 0.000590408 * 37681}}}},
        {"conductivity",
         blockEndingAt(bytes({0xd0, 0x66, 0x24}), 21),
         20,
         {{Channel::Conductivity, {"3.999", 3.9994832051424405}}}},
        {"channel 5 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x28}), 21), 20, {}},
        {"channel 1 is passed over", blockEndingAt(bytes({0x36, 0x32, 0x08}), 21), 20, {}},
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
         {{Channel::Pressure, {"2.986", sea_sun::convert(Channel::Pressure, 3314)}}}},
        {"empty block", {}, 0, {}},
        {"two bytes", bytes({0x32, 0x10}), 0, {}},
        {"three bytes: one position", pressureWord, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectTaken(c.block, c.taken, c.computations);
    }
}

// The window applies steps in order: an accepted word's label and the values stored with it
// belong to the same step, and the steps cover every position from index 2.
TEST(SeaSunDecoder, StepsCarryEachAcceptedWordWithTheValuesStoredAfterIt) {
    const double temperature = sea_sun::convert(Channel::Temperature, 37681);
    const QByteArray block =
        blockEndingAt(encodeWord(Channel::Temperature, 37681) +
                          encodeWord(Channel::Conductivity, 39400) + QByteArray(2, '\0'),
                      26);
    const struct {
        int positions;
        std::optional<Channel> label;
        double temperature, conductivity;
    } expected[] = {
        {19, std::nullopt, kStart.temperature, kStart.conductivity},  // indices 2..20
        {3, Channel::Temperature, temperature, kStart.conductivity},  // indices 21..23
        {3, Channel::Conductivity, temperature, 3.9994832051424405},  // indices 24..26
    };
    const sea_sun::Decoding decoding = sea_sun::decode(block, table(), kStart);
    ASSERT_EQ(decoding.steps.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const sea_sun::Step& step = decoding.steps[i];
        EXPECT_EQ(step.positions, expected[i].positions) << i;
        EXPECT_EQ(step.label ? std::optional(step.label->channel) : std::nullopt, expected[i].label)
            << i;
        EXPECT_EQ(step.values.temperature, expected[i].temperature) << i;
        EXPECT_EQ(step.values.conductivity, expected[i].conductivity) << i;
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
            std::map<Channel, Taken> taken;
            if (count == c.first || count == c.last) {
                const double value = sea_sun::convert(c.channel, count);
                taken[c.channel] = {number_text::formatPattern(value, u"0.000"), value};
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
            if (!sea_sun::accepted(channel, value) || count % 97 != 0) {
                continue;
            }
            expectTaken(blockEndingAt(encodeWord(channel, count), 21),
                        {{channel, {number_text::formatPattern(value, u"0.000"), value}}}, 20);
        }
        EXPECT_EQ(sea_sun::rawCountFor(channel, -1e6), 0);
        EXPECT_EQ(sea_sun::rawCountFor(channel, 1e6), sea_sun::kMaxRawCount);
    }
}

}  // namespace
