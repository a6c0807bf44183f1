#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

// Fields of an instrument's record built from fuzz input: numbers as instruments write them,
// with the value they stand for, and text between them.
namespace fuzz {

struct Field {
    std::string text;
    double value = 0;
};

inline std::string digits(FuzzedDataProvider& input, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.push_back(static_cast<char>('0' + input.ConsumeIntegralInRange(0, 9)));
    }
    return text;
}

// Leading zeros, either sign and padding spaces.
inline Field numberField(FuzzedDataProvider& input) {
    std::string number = input.PickValueInArray({"", "-", "+"});
    number += digits(input, input.ConsumeIntegralInRange(1, 6));
    if (input.ConsumeBool()) {
        number += '.' + digits(input, input.ConsumeIntegralInRange(1, 6));
    }
    Field field;
    // from_chars reads no "+".
    std::from_chars(number.data() + (number.starts_with('+') ? 1 : 0),
                    number.data() + number.size(), field.value);
    field.text = std::string(input.ConsumeIntegralInRange(0, 2), ' ') + number +
                 std::string(input.ConsumeIntegralInRange(0, 2), ' ');
    return field;
}

// Any text without the given characters (the separators of the record).
inline std::string textField(FuzzedDataProvider& input, std::string_view without = "\t") {
    std::string text = input.ConsumeRandomLengthString(8);
    std::erase_if(text, [&](char c) { return without.find(c) != std::string_view::npos; });
    return text;
}

}  // namespace fuzz
