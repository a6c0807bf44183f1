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

// The same sum term by term from the constant upwards, each coefficient times the power of x:
// the order in which the Sea & Sun calibration has always been computed. Nested, about half of
// its raw counts would convert to a value one bit off. The powers of a count up to 65535 are
// exact in a double.
template <std::size_t N>
constexpr double termByTerm(double x, const std::array<double, N>& c) {
    double sum = 0;
    double power = 1;
    for (const double coefficient : c) {
        sum += coefficient * power;
        power *= x;
    }
    return sum;
}

}  // namespace seawater
