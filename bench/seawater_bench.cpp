#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

#include "platform/number_text.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

namespace {

struct Reading {
    double conductivity;  // S/m
    double temperature;   // degC
    double pressure;      // bar
};

// A spread of plausible casts, so that no branch or value is predicted from a constant.
constexpr std::array<Reading, 8> kReadings = {{{4.2914, 15, 0},
                                               {5.0, 20, 100},
                                               {3.1, 2.5, 12.3},
                                               {0.1, 18, 0.5},
                                               {6.2, 29, 3.7},
                                               {8.1025537174, 40, 1000},
                                               {3.9, 8.2, 250},
                                               {4.5, 11.1, 42}}};

// What every instrument reading costs the window's two computations.
void readingThroughBothComputations(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Reading& r = kReadings[i++ % kReadings.size()];
        const auto salinity =
            seawater::practicalSalinity(r.conductivity, r.temperature, r.pressure);
        const auto velocity = seawater::soundVelocity(*salinity, r.temperature, r.pressure);
        benchmark::DoNotOptimize(velocity);
    }
}
BENCHMARK(readingThroughBothComputations);

// The same, with the two-decimal rounding the window stores.
void readingWithTwoDecimalRounding(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Reading& r = kReadings[i++ % kReadings.size()];
        const auto salinity =
            seawater::practicalSalinity(r.conductivity, r.temperature, r.pressure);
        const auto velocity = seawater::soundVelocity(*salinity, r.temperature, r.pressure);
        benchmark::DoNotOptimize(number_text::roundToHundredths(*velocity));
    }
}
BENCHMARK(readingWithTwoDecimalRounding);

}  // namespace
