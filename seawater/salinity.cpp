#include "seawater/salinity.h"

#include <array>
#include <cmath>
#include <initializer_list>

#include "seawater/polynomial.h"

namespace seawater {

namespace {

// Conductivity of standard sea water (salinity 35, 15 degC, zero pressure), S/m.
constexpr double kReferenceConductivity = 4.2914;

// Temperature ratio r_t(T), lowest power first.
constexpr std::array<double, 5> c = {0.6766097, 0.0200564, 0.0001104259, -6.9698e-07, 1.0031e-09};

// Pressure correction, p in decibars.
constexpr double e1 = 2.07e-05;
constexpr double e2 = -6.37e-10;
constexpr double e3 = 3.989e-15;
constexpr double d1 = 0.03426;
constexpr double d2 = 0.0004464;
constexpr double d3 = 0.4215;
constexpr double d4 = -0.003107;

// Salinity polynomial in sqrt(R_t): coefficient i is a[i] + b[i]*K.
constexpr std::array<double, 6> a = {0.008, -0.1692, 25.3851, 14.0941, -7.0261, 2.7081};
constexpr std::array<double, 6> b = {0.0005, -0.0056, -0.0066, -0.0375, 0.0636, -0.0144};
constexpr double k = 0.0162;

bool allFinite(std::initializer_list<double> values) {
    for (const double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<double> practicalSalinity(double conductivity, double temperature, double pressure) {
    const double t = temperature;
    const double p = 10.0 * pressure;  // the pressure correction works in decibars

    const double r = conductivity / kReferenceConductivity;
    const double rt = nested(t, c);
    const double numerator = p * (e1 + p * (e2 + p * e3));
    const double denominator = nested(t, std::array{1.0, d1, d2}) + (d3 + d4 * t) * r;
    const double rp = 1.0 + numerator / denominator;
    const double ratio = (r / rt) / rp;
    // An infinite step can still end in a finite but meaningless ratio (an overflowing pressure
    // correction divides it down to 0), so every step is checked, not only the result.
    if (!allFinite({r, rt, numerator, denominator, rp, ratio})) {
        return std::nullopt;
    }
    if (ratio < 0.0) {
        return std::nullopt;
    }

    const double x = std::sqrt(ratio);
    const double dt = t - 15.0;
    const double kt = dt / (1.0 + k * dt);
    std::array<double, 6> coefficients{};
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        coefficients[i] = a[i] + b[i] * kt;
    }
    const double s = nested(x, coefficients);
    if (!allFinite({kt, s})) {
        return std::nullopt;
    }
    return s;
}

}  // namespace seawater
