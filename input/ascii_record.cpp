#include "input/ascii_record.h"

#include <array>
#include <cmath>
#include <string_view>

#include "platform/decimal_text.h"

namespace {

constexpr std::size_t kFieldsRead = 5;

// Blanks as Qt trims Latin-1 text, which is how the instrument's bytes have always been read:
// TAB to CR, space, NEL and the no-break space.
bool isBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '\t' && byte <= '\r') || byte == ' ' || byte == 0x85 || byte == 0xA0;
}

// A decimal number with "." as the point, an optional sign and exponent, blanks around it.
// Infinities, NaN and what overflows or underflows are refused.
std::optional<double> number(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    // decimal_text::read takes a "-" but not a "+".
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    const std::optional<double> value = decimal_text::read(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

AsciiReading readAsciiRecord(QByteArrayView record) {
    const std::string_view bytes(record.data(), static_cast<std::size_t>(record.size()));
    std::array<std::string_view, kFieldsRead> fields{};
    std::size_t count = 0;
    for (std::size_t start = 0; count < kFieldsRead;) {
        const std::size_t tab = bytes.find('\t', start);
        fields[count++] = bytes.substr(start, tab - start);
        if (tab == std::string_view::npos) {
            break;
        }
        start = tab + 1;
    }
    const auto field = [&](std::size_t index) {
        return index < count ? number(fields[index]) : std::nullopt;
    };
    AsciiReading reading;
    const std::optional<double> pressure = field(2);
    if (!pressure) {
        return reading;
    }
    reading.pressure = *pressure / 10;
    const std::optional<double> conductivity = field(0);
    if (!conductivity) {
        return reading;
    }
    reading.conductivity = *conductivity / 10;
    reading.temperature = field(4);
    return reading;
}
