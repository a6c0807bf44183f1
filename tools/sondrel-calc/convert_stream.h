#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "tools/sondrel-calc/calc_line.h"

namespace sondrel_calc {

// Where the conversion takes its input and puts its output, a block at a time.
struct StreamEnds {
    // Fills up to `size` bytes at `data`: the count, 0 at the end of the input, -1 when the
    // input cannot be read.
    std::function<std::ptrdiff_t(char* data, std::size_t size)> read;
    // Converted lines, each with its line end.
    std::function<void(std::string_view)> write;
    // One report line, with its line end.
    std::function<void(std::string_view)> report;
};

// Converts every line of the input, in blocks, to the output. A malformed line is reported as
// "name:line: reason" and skipped; the lines after it are still converted. False when any line
// was malformed or the input could not be read to its end.
bool convertStream(const StreamEnds& ends, std::string_view name, Columns columns);

// The same with lines that `convert` turns into output lines (several may be joined by line
// ends) or the reason they are malformed, appended to `text`.
using LineConverter = std::function<LineKind(std::string_view line, std::string& text)>;
bool convertStream(const StreamEnds& ends, std::string_view name, const LineConverter& convert);

}  // namespace sondrel_calc
