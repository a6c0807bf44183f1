#pragma once

#include <string>
#include <string_view>

namespace sondrel_calc {

// What the first input column holds.
enum class Columns {
    Conductivity,  // conductivity [mS/cm], temperature [degC], pressure [dbar]
    Salinity,      // practical salinity, temperature [degC], pressure [dbar]
};

enum class LineKind {
    Skipped,    // blank line or # comment
    Converted,  // the output line, without its line end, was appended
    Malformed,  // why the line is not three numbers was appended
};

// One input line to one TAB-separated output line: the three inputs, then (for conductivity
// input) practical salinity and the unrounded sound velocity, or (for salinity input) the
// unrounded sound velocity. Numbers are read and written with "." whatever the locale, each
// written as the shortest text that reads back to the same double. A value that cannot be
// computed (negative conductivity ratio, negative salinity, overflow) is written as "-".
// The output line or the reason is appended to `text`, so that a whole block of lines can be
// gathered in one string.
LineKind convertLine(std::string_view line, Columns columns, std::string& text);

}  // namespace sondrel_calc
