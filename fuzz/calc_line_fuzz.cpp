// An input file of sondrel-calc. The first byte chooses the first column's meaning and the size
// of the blocks the file is read in; the rest is the file.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "platform/decimal_text.h"
#include "tools/sondrel-calc/calc_line.h"
#include "tools/sondrel-calc/convert_stream.h"

namespace {

using sondrel_calc::Columns;
using sondrel_calc::LineKind;

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

// A converted line: the three inputs as read, then one or two results, each "-" or a finite
// number.
void checkConverted(const std::string& text, Columns columns) {
    FUZZ_CHECK(text.find_first_of("\r\n") == std::string::npos);
    const auto columnsOut = split(text, '\t');
    FUZZ_CHECK(columnsOut.size() == (columns == Columns::Conductivity ? 5u : 4u));
    for (std::size_t i = 3; i < columnsOut.size(); ++i) {
        if (columnsOut[i] != "-") {
            const auto value = decimal_text::read(columnsOut[i]);
            FUZZ_CHECK(value && std::isfinite(*value));
        }
    }
}

// The inputs come back as the shortest text of the very double that was read, as to_chars
// writes it, whether copied or formatted.
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
        const auto read = decimal_text::read(fields[i]);
        FUZZ_CHECK(read);
        std::array<char, 32> shortest{};
        const char* const end =
            std::to_chars(shortest.data(), shortest.data() + shortest.size(), *read).ptr;
        FUZZ_CHECK(out[i] == std::string_view(shortest.data(), end));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Columns columns = data[0] % 2 == 0 ? Columns::Conductivity : Columns::Salinity;
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

    std::string expected;
    bool malformed = false;
    std::vector<std::string_view> lines = split(file, '\n');
    if (lines.back().empty()) {
        lines.pop_back();
    }
    for (const std::string_view line : lines) {
        std::string text;
        switch (sondrel_calc::convertLine(line, columns, text)) {
            case LineKind::Skipped:
                FUZZ_CHECK(text.empty());
                break;
            case LineKind::Converted:
                checkConverted(text, columns);
                checkInputsKept(line, text);
                expected += text + '\n';
                break;
            case LineKind::Malformed:
                FUZZ_CHECK(!text.empty());
                malformed = true;
                break;
        }
    }

    // Blocks of 1 to 64 bytes, so that lines are cut at every place.
    const std::size_t block = data[0] / 2 % 64 + 1;
    std::size_t at = 0;
    std::string out;
    std::string errors;
    const sondrel_calc::StreamEnds ends{
        [&](char* to, std::size_t size) {
            const std::size_t count = std::min({size, block, file.size() - at});
            file.copy(to, count, at);
            at += count;
            return static_cast<std::ptrdiff_t>(count);
        },
        [&](std::string_view text) { out += text; },
        [&](std::string_view text) { errors += text; }};
    const bool ok = sondrel_calc::convertStream(ends, "fuzz", columns);
    FUZZ_CHECK(ok == !malformed);
    FUZZ_CHECK(errors.empty() == !malformed);
    FUZZ_CHECK(out == expected);
    return 0;
}
