// An input file of sondrel-calc. The first byte chooses the first column's meaning; the rest is
// the file, read line by line as the program reads it.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "tools/sondrel-calc/calc_line.h"
#include "tools/sondrel-calc/convert_stream.h"

namespace {

using sondrel_calc::Columns;
using sondrel_calc::LineOutcome;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool sameNumber(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// A converted line: the three inputs as read, then one or two results, each "-" or a finite
// number.
void checkConverted(const std::string& text, Columns columns) {
    FUZZ_CHECK(text.find_first_of("\r\n") == std::string::npos);
    const auto columnsOut = split(text, '\t');
    FUZZ_CHECK(columnsOut.size() == (columns == Columns::Conductivity ? 5u : 4u));
    for (std::size_t i = 3; i < columnsOut.size(); ++i) {
        if (columnsOut[i] != "-") {
            const auto value = number(columnsOut[i]);
            FUZZ_CHECK(value && std::isfinite(*value));
        }
    }
}

// The inputs come back as the shortest text of the very double that was read.
void checkInputsKept(std::string_view line, const std::string& text) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    std::vector<std::string_view> fields;
    for (const std::string_view piece : split(line, ' ')) {
        for (const std::string_view field : split(piece, '\t')) {
            if (!field.empty()) {
                fields.push_back(field);
            }
        }
    }
    FUZZ_CHECK(fields.size() == 3);
    const auto out = split(text, '\t');
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto read = number(fields[i]);
        const auto written = number(out[i]);
        FUZZ_CHECK(read && written && sameNumber(*read, *written));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Columns columns = data[0] % 2 == 0 ? Columns::Conductivity : Columns::Salinity;
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

    std::size_t converted = 0;
    bool malformed = false;
    std::vector<std::string_view> lines = split(file, '\n');
    if (lines.back().empty()) {
        lines.pop_back();
    }
    for (const std::string_view line : lines) {
        const LineOutcome outcome = sondrel_calc::convertLine(line, columns);
        switch (outcome.kind) {
            case LineOutcome::Kind::Skipped:
                FUZZ_CHECK(outcome.text.empty());
                break;
            case LineOutcome::Kind::Converted:
                checkConverted(outcome.text, columns);
                checkInputsKept(line, outcome.text);
                ++converted;
                break;
            case LineOutcome::Kind::Malformed:
                FUZZ_CHECK(!outcome.text.empty());
                malformed = true;
                break;
        }
    }

    std::istringstream in(file);
    std::ostringstream out;
    std::ostringstream errors;
    const bool ok = sondrel_calc::convertStream(in, "fuzz", columns, out, errors);
    FUZZ_CHECK(ok == !malformed);
    FUZZ_CHECK(errors.str().empty() == !malformed);
    const std::string written = out.str();
    FUZZ_CHECK(static_cast<std::size_t>(std::count(written.begin(), written.end(), '\n')) ==
               converted);
    return 0;
}
