#include <benchmark/benchmark.h>

#include <QByteArray>

#include "input/ascii_framer.h"
#include "input/ascii_record.h"
#include "input/record_layouts.h"
#include "instrument_stream.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tests/support/ascii_record_reference.h"
#include "tools/sondrel-sim/instrument_lines.h"

namespace {

constexpr int kRecords = 1000;
// What one read of the port brings at a time; a fast line gives a few records per piece.
constexpr qsizetype kPiece = 256;

// Received bytes to sound velocity: framing between line ends, reading the three fields,
// salinity and sound velocity; by the reader in place and by the earlier one through Qt text.
void asciiRecordsFramedReadAndComputed(benchmark::State& state,
                                       AsciiReading (*readRecord)(QByteArrayView)) {
    const QByteArray bytes = instrumentStream(kRecords);
    for (auto _ : state) {
        AsciiFramer framer;
        double velocity = 0;
        for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
            for (const QByteArray& record : framer.append(
                     QByteArrayView(bytes).sliced(at, std::min(kPiece, bytes.size() - at)))) {
                const AsciiReading reading = readRecord(record);
                const auto salinity = seawater::practicalSalinity(
                    *reading.conductivity, *reading.temperature, *reading.pressure);
                velocity +=
                    *seawater::soundVelocity(*salinity, *reading.temperature, *reading.pressure);
            }
        }
        benchmark::DoNotOptimize(velocity);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK_CAPTURE(asciiRecordsFramedReadAndComputed, bytes, readKestraneRecord);
BENCHMARK_CAPTURE(asciiRecordsFramedReadAndComputed, qt_text, readAsciiRecordThroughText);

// The same for the other instruments, each in its own line format and record layout: salinity and
// sound velocity computed where the layout gives a conductivity and a temperature, the measured
// sound velocity taken otherwise.
void asciiLayoutFramedReadAndComputed(benchmark::State& state, const char* name) {
    const RecordLayout& layout = *record_layouts::presets().named(QLatin1String(name))->layout;
    const auto line = instrument_lines::instruments().named(QLatin1String(name))->line;
    QByteArray bytes = "\r\n";
    for (int i = 0; i < kRecords; ++i) {
        bytes +=
            line(instrument_lines::waterOf(30 + (i % 100) * 0.1, i % 500, 5 + (i % 200) * 0.1));
    }
    const bool computed = layout.gives().salinity();
    for (auto _ : state) {
        AsciiFramer framer;
        framer.setFraming(layout.framing);
        double velocity = 0;
        for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
            for (const QByteArray& record : framer.append(
                     QByteArrayView(bytes).sliced(at, std::min(kPiece, bytes.size() - at)))) {
                const AsciiReading reading = readAsciiRecord(layout, record);
                if (!computed) {
                    velocity += *reading.soundVelocity;
                    continue;
                }
                const double bar = reading.pressure.value_or(0);
                const auto salinity =
                    seawater::practicalSalinity(*reading.conductivity, *reading.temperature, bar);
                velocity += *seawater::soundVelocity(*salinity, *reading.temperature, bar);
            }
        }
        benchmark::DoNotOptimize(velocity);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK_CAPTURE(asciiLayoutFramedReadAndComputed, sv_probe, "SV probe");
BENCHMARK_CAPTURE(asciiLayoutFramedReadAndComputed, minictd, "Valeport miniCTD");
BENCHMARK_CAPTURE(asciiLayoutFramedReadAndComputed, minisvp, "Valeport miniSVP");
BENCHMARK_CAPTURE(asciiLayoutFramedReadAndComputed, sbe45, "SBE 45");

}  // namespace
