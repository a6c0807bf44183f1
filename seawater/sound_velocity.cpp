#include "seawater/sound_velocity.h"

#include <array>
#include <cmath>

#include "seawater/polynomial.h"

namespace seawater {

namespace {

// Row j holds the coefficients of P^j as polynomials in T, lowest power of T first.
constexpr std::array<double, 6> cw0 = {1402.388,  5.03711,    -0.0580852,
                                       0.0003342, -1.478e-06, 3.1464e-09};
constexpr std::array<double, 5> cw1 = {0.153563, 0.00068982, -8.1788e-06, 1.3621e-07, -6.1185e-10};
constexpr std::array<double, 5> cw2 = {3.126e-05, -1.7107e-06, 2.5974e-08, -2.5335e-10, 1.0405e-12};
constexpr std::array<double, 3> cw3 = {-9.7729e-09, 3.8504e-10, -2.3643e-12};

constexpr std::array<double, 5> a0 = {1.389, -0.01262, 7.164e-05, 2.006e-06, -3.21e-08};
constexpr std::array<double, 5> a1 = {9.4742e-05, -1.258e-05, -6.4885e-08, 1.0507e-08, -2.0122e-10};
constexpr std::array<double, 4> a2 = {-3.9064e-07, 9.1041e-09, -1.6002e-10, 7.988e-12};
constexpr std::array<double, 3> a3 = {1.1e-10, 6.649e-12, -3.389e-13};

constexpr std::array<double, 2> b0 = {-0.01922, -4.42e-05};
constexpr std::array<double, 2> b1 = {7.3637e-05, 1.7945e-07};

constexpr std::array<double, 2> d = {0.001727, -7.9836e-06};

}  // namespace

std::optional<double> soundVelocity(double salinity, double temperature, double pressure) {
    const double s = salinity;
    const double t = temperature;
    const double p = pressure;
    if (s < 0.0) {
        return std::nullopt;
    }
    const double rootS = std::sqrt(s);
    const double dCoefficient = nested(p, d);
    const double bCoefficient = nested(t, b0) + nested(t, b1) * p;
    const double aCoefficient =
        nested(p, std::array{nested(t, a0), nested(t, a1), nested(t, a2), nested(t, a3)});
    const double pureWater =
        nested(p, std::array{nested(t, cw0), nested(t, cw1), nested(t, cw2), nested(t, cw3)});
    const double v = pureWater + (aCoefficient + bCoefficient * rootS + dCoefficient * s) * s;
    // Every step only adds and multiplies, so an overflow anywhere shows in the result.
    if (!std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

}  // namespace seawater
