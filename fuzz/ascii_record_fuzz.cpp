// One framed record. The first byte chooses: even, the rest is the record as received (seeds
// start with "R"), read exactly as the reader through Qt text read it; odd, the rest drives a
// record laid out as the instrument sends it (numbers in fields 0, 2 and 4 with leading zeros,
// either sign and padding; text in the others), whose values must come back exactly.

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArrayView>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "fuzz/record_fields.h"
#include "input/ascii_record.h"
#include "tests/support/ascii_record_reference.h"

namespace {

using fuzz::Field;
using fuzz::numberField;
using fuzz::textField;

bool sameValue(const std::optional<double>& a, const std::optional<double>& b) {
    return a.has_value() == b.has_value() &&
           (!a || std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(*b));
}

void checkOrder(const AsciiReading& reading) {
    FUZZ_CHECK(!reading.conductivity || reading.pressure);
    FUZZ_CHECK(!reading.temperature || reading.conductivity);
    FUZZ_CHECK(reading.complete == reading.temperature.has_value());
    for (const auto& value : {reading.pressure, reading.conductivity, reading.temperature}) {
        FUZZ_CHECK(!value || std::isfinite(*value));
    }
}

void checkLaidOut(FuzzedDataProvider& input) {
    const Field conductivity = numberField(input);
    const std::string unit = textField(input);
    const Field pressure = numberField(input);
    const std::string pressureUnit = textField(input);
    const Field temperature = numberField(input);
    std::string record = conductivity.text + '\t' + unit + '\t' + pressure.text + '\t' +
                         pressureUnit + '\t' + temperature.text;
    if (input.ConsumeBool()) {
        record += '\t' + input.ConsumeRandomLengthString(16);
    }
    const AsciiReading reading = readKestraneRecord(QByteArrayView(record));
    checkOrder(reading);
    FUZZ_CHECK(reading.complete);
    FUZZ_CHECK(*reading.pressure == pressure.value / 10);
    FUZZ_CHECK(*reading.conductivity == conductivity.value / 10);
    FUZZ_CHECK(*reading.temperature == temperature.value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    if (data[0] % 2 == 0) {
        const QByteArrayView record(data + 1, static_cast<qsizetype>(size - 1));
        const AsciiReading reading = readKestraneRecord(record);
        checkOrder(reading);
        const AsciiReading reference = readAsciiRecordThroughText(record);
        FUZZ_CHECK(sameValue(reading.pressure, reference.pressure));
        FUZZ_CHECK(sameValue(reading.conductivity, reference.conductivity));
        FUZZ_CHECK(sameValue(reading.temperature, reference.temperature));
    } else {
        FuzzedDataProvider input(data + 1, size - 1);
        checkLaidOut(input);
    }
    return 0;
}
