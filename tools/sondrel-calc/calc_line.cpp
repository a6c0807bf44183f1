#include "tools/sondrel-calc/calc_line.h"

#include <array>
#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

namespace sondrel_calc {

namespace {

constexpr std::string_view kBlanks = " \t";

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = line.find_first_not_of(kBlanks);
    while (pos != std::string_view::npos) {
        const std::size_t end = line.find_first_of(kBlanks, pos);
        fields.push_back(line.substr(pos, end - pos));
        pos = line.find_first_not_of(kBlanks, end);
    }
    return fields;
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Shortest text that reads back to the same value.
template <typename Number>
std::string format(Number value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string format(std::optional<double> value) {
    return value ? format(*value) : "-";
}

}  // namespace

LineOutcome convertLine(std::string_view line, Columns columns) {
    // Files written on Windows end their lines in CR LF.
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    const std::vector<std::string_view> fields = splitFields(line);
    if (fields.empty() || fields.front().starts_with('#')) {
        return {LineOutcome::Kind::Skipped, {}};
    }
    if (fields.size() != 3) {
        return {LineOutcome::Kind::Malformed,
                "expected 3 numbers, found " + format(fields.size()) + " fields"};
    }
    std::array<double, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = parseNumber(fields[i]);
        if (!value) {
            std::string reason = "'";
            reason.append(fields[i]).append("' is not a number");
            return {LineOutcome::Kind::Malformed, std::move(reason)};
        }
        values[i] = *value;
    }
    const auto [first, temperature, decibars] = values;
    const double bar = decibars / 10;

    std::string out = format(first) + '\t' + format(temperature) + '\t' + format(decibars);
    std::optional<double> salinity = first;
    if (columns == Columns::Conductivity) {
        salinity = seawater::practicalSalinity(first / 10, temperature, bar);
        out += '\t' + format(salinity);
    }
    const auto velocity =
        salinity ? seawater::soundVelocity(*salinity, temperature, bar) : std::nullopt;
    out += '\t' + format(velocity);
    return {LineOutcome::Kind::Converted, std::move(out)};
}

}  // namespace sondrel_calc
