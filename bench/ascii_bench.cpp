#include <benchmark/benchmark.h>

#include <QByteArray>

#include "input/ascii_framer.h"
#include "input/ascii_record.h"
#include "instrument_stream.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tests/support/ascii_record_reference.h"

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

}  // namespace
