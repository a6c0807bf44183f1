#include "platform/decimal_text.h"

#include <charconv>
#include <system_error>

namespace decimal_text {

std::optional<double> read(std::string_view text) {
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace decimal_text
