#pragma once

#include <array>
#include <cstddef>

namespace seawater {

// c[0] + x*(c[1] + x*(c[2] + ...)): nested from the highest power down, the order in which the
// published check values were computed.
template <std::size_t N>
constexpr double nested(double x, const std::array<double, N>& c) {
    static_assert(N > 0);
    double result = c[N - 1];
    for (std::size_t i = N - 1; i-- > 0;) {
        result = result * x + c[i];
    }
    return result;
}

}  // namespace seawater
