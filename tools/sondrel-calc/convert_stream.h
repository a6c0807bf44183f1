#pragma once

#include <iosfwd>
#include <string_view>

#include "tools/sondrel-calc/calc_line.h"

namespace sondrel_calc {

// Converts every line of `in` to `out`. A malformed line is reported on `errors` as
// "name:line: reason" and skipped; the lines after it are still converted. False when any line
// was malformed or the stream could not be read to its end.
bool convertStream(std::istream& in, std::string_view name, Columns columns, std::ostream& out,
                   std::ostream& errors);

}  // namespace sondrel_calc
