// Record layouts that are not the Kestrane's. The first byte chooses: 0, the rest gives the texts
// of section [Record], and a layout read from them must be one the reader can use; 1, a layout
// and a line, both random, must read without a fault and only as far as the line holds numbers;
// 2, a line laid out in a random layout from known numbers, whose values must come back exactly.

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "fuzz/record_fields.h"
#include "input/ascii_record.h"
#include "input/record_layouts.h"

namespace {

using Layout = RecordLayout;

constexpr std::array kKeys{record_layouts::kSeparator,    record_layouts::kPrefix,
                           record_layouts::kConductivity, record_layouts::kTemperature,
                           record_layouts::kPressure,     record_layouts::kSoundVelocity};
constexpr std::array kFields{&Layout::pressure, &Layout::conductivity, &Layout::temperature,
                             &Layout::soundVelocity};
constexpr std::array kReadings{&AsciiReading::pressure, &AsciiReading::conductivity,
                               &AsciiReading::temperature, &AsciiReading::soundVelocity};
constexpr std::array kSeparators{Layout::Separator::Tab, Layout::Separator::Comma,
                                 Layout::Separator::Semicolon, Layout::Separator::Blanks};

// Mostly words the section knows, so that layouts are read as often as refused.
std::string keyText(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) {
        return input.ConsumeRandomLengthString(16);
    }
    std::string text;
    for (int words = input.ConsumeIntegralInRange(1, 3); words > 0; --words) {
        text += input.PickValueInArray({"1", "2", "3", "5", "99", "100", "0", "-1", "dbar", "BAR",
                                        "mS/cm", "S/m", "tab", "comma", "blanks", "$"});
        text += input.PickValueInArray({" ", "", "  ", "\t"});
    }
    return text;
}

void checkSection(FuzzedDataProvider& input) {
    std::array<std::optional<QString>, kKeys.size()> texts;
    for (auto& text : texts) {
        if (input.ConsumeBool()) {
            text = QString::fromStdString(keyText(input));
        }
    }
    const record_layouts::ReadLayout read = record_layouts::readSection([&](const char* key) {
        return texts[static_cast<std::size_t>(std::ranges::find(kKeys, key) - kKeys.begin())];
    });
    FUZZ_CHECK(read.layout.has_value() == read.problems.isEmpty());
    if (!read.layout) {
        return;
    }
    const Quantities gives = read.layout->gives();
    FUZZ_CHECK(gives.salinity() || gives.soundVelocity);
    std::array<bool, Layout::kLastField + 1> taken{};
    for (const auto member : kFields) {
        const RecordField& field = (*read.layout).*member;
        FUZZ_CHECK(field.number >= 0 && field.number <= Layout::kLastField);
        FUZZ_CHECK(field.divisor > 0);
        if (field.given()) {
            FUZZ_CHECK(!taken[static_cast<std::size_t>(field.number)]);
            taken[static_cast<std::size_t>(field.number)] = true;
        }
    }
}

// Field numbers among the first few, so that fields are shared, skipped and missing.
Layout randomLayout(FuzzedDataProvider& input) {
    Layout layout;
    layout.separator = input.PickValueInArray(kSeparators);
    layout.prefix = QByteArray::fromStdString(input.ConsumeRandomLengthString(3));
    for (const auto member : kFields) {
        layout.*member = {input.ConsumeIntegralInRange(0, 6),
                          input.PickValueInArray({Layout::kBar, Layout::kDecibar})};
    }
    return layout;
}

bool gives(const Quantities& quantities, std::size_t i) {
    return std::array{quantities.pressure, quantities.conductivity, quantities.temperature,
                      quantities.soundVelocity}[i];
}

void checkRandom(FuzzedDataProvider& input) {
    const Layout layout = randomLayout(input);
    const std::string line = input.ConsumeRemainingBytesAsString();
    const QByteArrayView record(line.data(), static_cast<qsizetype>(line.size()));
    const AsciiReading reading = readAsciiRecord(layout, record);
    const Quantities given = layout.gives();
    bool all = true;
    for (std::size_t i = 0; i < kReadings.size(); ++i) {
        const std::optional<double>& value = reading.*kReadings[i];
        FUZZ_CHECK(!value || (gives(given, i) && std::isfinite(*value)));
        all = all && (value || !gives(given, i));
    }
    FUZZ_CHECK(reading.complete == all);
}

void checkLaidOut(FuzzedDataProvider& input) {
    Layout layout;
    layout.separator = input.PickValueInArray(kSeparators);
    // Distinct fields, so that each holds the number of one quantity.
    std::array<int, 8> order{1, 2, 3, 4, 5, 6, 7, 8};
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        std::swap(order[i], order[input.ConsumeIntegralInRange<std::size_t>(0, i)]);
    }
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const bool carried = input.ConsumeBool();
        layout.*kFields[i] = {carried ? order[i] : 0,
                              input.PickValueInArray({Layout::kBar, Layout::kDecibar})};
    }
    const Quantities given = layout.gives();
    if (!given.salinity() && !given.soundVelocity) {
        return;
    }
    const char* separator = std::array{"\t", ",", ";", " \t"}[static_cast<std::size_t>(
        std::ranges::find(kSeparators, layout.separator) - kSeparators.begin())];
    const bool blanks = layout.separator == Layout::Separator::Blanks;
    std::array<fuzz::Field, 8> fields;
    std::string line = blanks ? std::string(input.ConsumeIntegralInRange(0, 2), ' ') : "";
    for (int number = 1; number <= 8; ++number) {
        fuzz::Field& field = fields[static_cast<std::size_t>(number - 1)];
        const bool isNumber =
            std::ranges::find(order.begin(), order.begin() + 4, number) != order.begin() + 4;
        field = isNumber ? fuzz::numberField(input) : fuzz::Field{fuzz::textField(input, " \t,;")};
        // Between blanks no field is empty.
        line += (number > 1 ? std::string(separator) : "") +
                (blanks && field.text.empty() ? "x" : field.text);
    }
    const AsciiReading reading = readAsciiRecord(layout, QByteArrayView(line));
    FUZZ_CHECK(reading.complete);
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const RecordField& field = layout.*kFields[i];
        const std::optional<double>& value = reading.*kReadings[i];
        FUZZ_CHECK(value.has_value() == gives(given, i));
        if (value) {
            FUZZ_CHECK(*value ==
                       fields[static_cast<std::size_t>(field.number - 1)].value / field.divisor);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    FuzzedDataProvider input(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            checkSection(input);
            break;
        case 1:
            checkRandom(input);
            break;
        default:
            checkLaidOut(input);
            break;
    }
    return 0;
}
