// A block read from the Sea & Sun instrument: decoded into steps and shown as the incoming-data
// box shows it. The last bytes of the input may also choose a data word that is appended to the
// block, whose value must then be taken exactly.

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QChar>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/check.h"
#include "input/bit_table.h"
#include "input/display_text.h"
#include "input/sea_sun_block_text.h"
#include "input/sea_sun_decoder.h"
#include "input/sea_sun_encoder.h"
#include "platform/number_text.h"

namespace {

using sea_sun::Channel;

// A word counts only when its last byte lies at this index or later.
constexpr qsizetype kFirstWordEnd = 21;
// Starting values that no window accepts.
constexpr sea_sun::Values kStart{7.5, 8.5, 9.5};

const BitTable& table() {
    static const BitTable built = buildBitTable();
    return built;
}

double held(sea_sun::Values values, Channel channel) {
    return sea_sun::valueOf(values, channel);
}

bool sameExcept(const sea_sun::Values& a, const sea_sun::Values& b, Channel channel) {
    for (const Channel other : {Channel::Pressure, Channel::Temperature, Channel::Conductivity}) {
        if (other != channel && held(a, other) != held(b, other)) {
            return false;
        }
    }
    return true;
}

// Every step but a first one that takes nothing takes one accepted value, at or after the first
// word end, and changes nothing else; together the steps cover every position from index 2 on.
// Returns the index of the position that starts each step and takes a value, the last one only.
std::optional<qsizetype> checkSteps(const QByteArray& block, const sea_sun::Decoding& decoding) {
    std::optional<qsizetype> lastTaken;
    sea_sun::Values before = kStart;
    qsizetype index = 2;
    for (std::size_t i = 0; i < decoding.steps.size(); ++i) {
        const sea_sun::Step& step = decoding.steps[i];
        FUZZ_CHECK(step.positions > 0);
        if (!step.label) {
            FUZZ_CHECK(i == 0);
            FUZZ_CHECK(sameExcept(step.values, before, Channel::Pressure) &&
                       step.values.pressure == before.pressure);
        } else {
            const Channel channel = step.label->channel;
            const double value = held(step.values, channel);
            FUZZ_CHECK(index >= kFirstWordEnd);
            FUZZ_CHECK(sea_sun::accepted(channel, value));
            FUZZ_CHECK(sameExcept(step.values, before, channel));
            const auto shown = number_text::parse(step.label->text);
            FUZZ_CHECK(shown && std::fabs(*shown - value) <= 0.0005 + 1e-12);
            lastTaken = index;
        }
        before = step.values;
        index += step.positions;
    }
    FUZZ_CHECK(index == std::max<qsizetype>(block.size(), 2));
    return lastTaken;
}

// Nothing a text box cannot show safely: no lone surrogate, control or format character, line
// or paragraph separator, non-character or object replacement character.
void checkShown(const QString& shown, qsizetype blockSize) {
    FUZZ_CHECK(shown.size() <= (blockSize + 1) / 2);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        char32_t codePoint = shown[i].unicode();
        if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(shown[i], shown[i + 1]);
            ++i;
        }
        FUZZ_CHECK(!QChar::isNonCharacter(codePoint));
        FUZZ_CHECK(codePoint != QChar::ObjectReplacementCharacter);
        const QChar::Category category = QChar::category(codePoint);
        FUZZ_CHECK(category != QChar::Other_Control && category != QChar::Other_Format &&
                   category != QChar::Other_Surrogate && category != QChar::Separator_Line &&
                   category != QChar::Separator_Paragraph);
    }
    FUZZ_CHECK(displayText(shown) == shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool withWord = input.ConsumeBool();
    const auto channel = static_cast<Channel>(input.ConsumeIntegralInRange(2, 4));
    const int rawCount = input.ConsumeIntegralInRange(0, sea_sun::kMaxRawCount);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    QByteArray block(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (withWord) {
        const QByteArray word = sea_sun::encodeWord(channel, rawCount);
        block = QByteArray(std::max<qsizetype>(kFirstWordEnd + 1 - word.size() - block.size(), 0),
                           '\0') +
                block + word;
    }

    const sea_sun::Decoding decoding = sea_sun::decode(block, table(), kStart);
    const std::optional<qsizetype> lastTaken = checkSteps(block, decoding);
    if (withWord) {
        const double value = sea_sun::convert(channel, rawCount);
        const bool taken = lastTaken == block.size() - 1;
        FUZZ_CHECK(taken == sea_sun::accepted(channel, value));
        if (taken) {
            const sea_sun::Step& last = decoding.steps.back();
            FUZZ_CHECK(last.label->channel == channel && held(last.values, channel) == value);
        }
    }
    checkShown(sea_sun::blockText(block), block.size());
    return 0;
}
