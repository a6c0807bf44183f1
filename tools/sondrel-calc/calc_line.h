#pragma once

#include <string>
#include <string_view>

namespace sondrel_calc {

// What the first input column holds.
enum class Columns {
    Conductivity,  // conductivity [mS/cm], temperature [degC], pressure [dbar]
    Salinity,      // practical salinity, temperature [degC], pressure [dbar]
};

struct LineOutcome {
    enum class Kind {
        Skipped,    // blank line or # comment
        Converted,  // text is the output line, without its line end
        Malformed,  // text says why the line is not three numbers
    };
    Kind kind;
    std::string text;
};

// One input line to one TAB-separated output line: the three inputs, then (for conductivity
// input) practical salinity and the unrounded sound velocity, or (for salinity input) the
// unrounded sound velocity. Numbers are read and written with "." whatever the locale, each
// written as the shortest text that reads back to the same double. A value that cannot be
// computed (negative conductivity ratio, negative salinity, overflow) is written as "-".
LineOutcome convertLine(std::string_view line, Columns columns);

}  // namespace sondrel_calc
