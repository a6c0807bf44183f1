#pragma once

#include <optional>
#include <string_view>

// Number text that nobody types into the window: the instrument's records and sondrel-calc's
// input files, read in place as bytes. Apart from number_text and free of Qt, so that
// sondrel-calc runs without Qt.
namespace decimal_text {

// The whole text as one number, with "." as the decimal point whatever the locale: an optional
// "-", digits with an optional point and exponent, or "inf" and "nan", as the C++ library reads
// them. No "+", no blanks, no hexadecimal; nullopt too for what overflows or underflows a double.
std::optional<double> read(std::string_view text);

}  // namespace decimal_text
