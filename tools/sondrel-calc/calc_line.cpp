#include "tools/sondrel-calc/calc_line.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/decimal_text.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tools/sondrel-calc/written_numbers.h"

namespace sondrel_calc {

namespace {

constexpr std::size_t kNumbers = 3;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first three blank-separated fields of the line, and how many there are in all.
struct Fields {
    std::array<std::string_view, kNumbers> first;
    std::size_t count = 0;
};

Fields splitFields(std::string_view line) {
    Fields fields;
    const char* p = line.data();
    const char* const end = p + line.size();
    while (true) {
        while (p != end && isBlank(*p)) {
            ++p;
        }
        if (p == end) {
            return fields;
        }
        const char* const start = p;
        while (p != end && !isBlank(*p)) {
            ++p;
        }
        if (fields.count < kNumbers) {
            fields.first[fields.count] =
                std::string_view(start, static_cast<std::size_t>(p - start));
        }
        ++fields.count;
    }
}

// Whether a field that read as a number already is the text to_chars writes for it, so that it
// can be echoed as it stands: plain decimal without redundant zeros, at most 15 significant
// digits (no other text of as few digits reads as the same double, so these are its shortest
// digits), no longer than the scientific form, which to_chars would take instead, and a whole
// part of at most 15 digits: beyond 2^53 the plain form spells out the double's exact digits,
// 66666666666610096 for a typed 66666666666610100.
bool isShortestText(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (text.find_first_not_of("0123456789.") != std::string_view::npos || whole.empty() ||
        (whole.size() > 1 && whole.front() == '0') ||
        (point != std::string_view::npos && (point + 1 == text.size() || text.back() == '0'))) {
        return false;
    }
    const std::size_t first = text.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return true;  // "0"
    }
    const std::size_t last = text.find_last_not_of("0.");
    const bool pointInside = point != std::string_view::npos && first < point && point < last;
    const std::size_t digits = last - first + 1 - (pointInside ? 1 : 0);
    const auto leadingExponent =
        whole != "0" ? static_cast<long>(whole.size()) - 1 : -static_cast<long>(first - point);
    // d.ddde+XX, with at least two exponent digits.
    const std::size_t scientific = digits + (digits > 1 ? 1 : 0) + 2 +
                                   (leadingExponent >= 100 || leadingExponent <= -100 ? 3 : 2);
    return digits <= 15 && whole.size() <= 15 && text.size() <= scientific;
}

}  // namespace

LineKind convertLine(std::string_view line, Columns columns, std::string& text) {
    // Files written on Windows end their lines in CR LF.
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    const Fields fields = splitFields(line);
    if (fields.count == 0 || fields.first[0].starts_with('#')) {
        return LineKind::Skipped;
    }
    std::array<char, 5 * 33> buffer;
    if (fields.count != kNumbers) {
        text += "expected 3 numbers, found ";
        text.append(buffer.data(), writeShortest(buffer.data(), fields.count));
        text += " fields";
        return LineKind::Malformed;
    }
    std::array<double, kNumbers> values{};
    for (std::size_t i = 0; i < kNumbers; ++i) {
        const auto value = decimal_text::read(fields.first[i]);
        if (!value) {
            text.append("'").append(fields.first[i]).append("' is not a number");
            return LineKind::Malformed;
        }
        values[i] = *value;
    }
    const auto [first, temperature, decibars] = values;
    const double bar = decibars / 10;

    // Most inputs are written as the program writes numbers; those are copied, not formatted.
    char* at = buffer.data();
    for (std::size_t i = 0; i < kNumbers; ++i) {
        const std::string_view field = fields.first[i];
        at = isShortestText(field) && field.size() < 32 ? std::copy(field.begin(), field.end(), at)
                                                        : writeShortest(at, values[i]);
        *at++ = '\t';
    }
    std::optional<double> salinity = first;
    if (columns == Columns::Conductivity) {
        salinity = seawater::practicalSalinity(first / 10, temperature, bar);
        at = writeShortest(at, salinity);
        *at++ = '\t';
    }
    const auto velocity =
        salinity ? seawater::soundVelocity(*salinity, temperature, bar) : std::nullopt;
    at = writeShortest(at, velocity);
    text.append(buffer.data(), at);
    return LineKind::Converted;
}

}  // namespace sondrel_calc
