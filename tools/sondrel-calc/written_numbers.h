#pragma once

#include <charconv>
#include <optional>

// How sondrel-calc writes its numbers: "." whatever the locale, "-" for a value there is none
// of. Room for the longest double text (24 characters) is left by the caller.
namespace sondrel_calc {

// The shortest text that reads back to the same value.
template <typename Number>
char* writeShortest(char* at, Number value) {
    return std::to_chars(at, at + 32, value).ptr;
}

inline char* writeShortest(char* at, std::optional<double> value) {
    if (!value) {
        *at = '-';
        return at + 1;
    }
    return writeShortest(at, *value);
}

// At most 15 significant digits: a value that went through a unit's factor (S/m to mS/cm, say)
// comes back as the digits the instrument sent, not as the double's rounding error.
inline char* writeSignificant(char* at, std::optional<double> value) {
    if (!value) {
        *at = '-';
        return at + 1;
    }
    return std::to_chars(at, at + 32, *value, std::chars_format::general, 15).ptr;
}

}  // namespace sondrel_calc
