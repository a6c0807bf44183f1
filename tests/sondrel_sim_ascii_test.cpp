#include <gtest/gtest.h>

#include "input/ascii_record.h"
#include "input/record_layouts.h"
#include "tools/sondrel-sim/instrument_lines.h"

namespace {

using instrument_lines::Water;

// Every layout but the Kestrane's (played by its own mode) and the custom one has a simulated
// instrument, whose lines read back, field by field, as the water it measured: a field in the
// wrong place, unit or number of decimals shows here. Cold water brings a minus sign.
TEST(SimulatedAsciiInstrument, EveryLayoutReadsItsInstrumentsLinesAsTheWater) {
    const Water waters[] = {instrument_lines::waterOf(35.008, -0.75, 15.5),
                            instrument_lines::waterOf(29.1234, 1234.5678, -1.6543),
                            instrument_lines::waterOf(58.7, 12.0, 31.25)};
    int played = 0;
    for (const RecordPreset& preset : record_layouts::presets()) {
        if (!preset.layout || preset.layout->framing != RecordLayout::Framing::Lines) {
            continue;
        }
        SCOPED_TRACE(preset.name);
        const auto* instrument = instrument_lines::instruments().named(preset.name);
        ASSERT_TRUE(instrument);
        ++played;
        const RecordLayout& layout = *preset.layout;
        for (const Water& water : waters) {
            QByteArray line = instrument->line(water);
            ASSERT_TRUE(line.endsWith("\r\n")) << line.toStdString();
            line.chop(2);
            SCOPED_TRACE(line.toStdString());
            ASSERT_TRUE(isRecordLine(layout, line));
            const AsciiReading reading = readAsciiRecord(layout, line);
            ASSERT_TRUE(reading.complete);
            const Quantities gives = layout.gives();
            const std::pair<bool, std::optional<double>> expected[] = {
                {gives.pressure, water.pressure / 10},
                {gives.conductivity, water.conductivity / 10},
                {gives.temperature, water.temperature},
                {gives.soundVelocity, water.soundVelocity}};
            const std::optional<double> read[] = {reading.pressure, reading.conductivity,
                                                  reading.temperature, reading.soundVelocity};
            for (std::size_t i = 0; i < std::size(read); ++i) {
                ASSERT_EQ(read[i].has_value(), expected[i].first) << i;
                if (read[i]) {
                    EXPECT_NEAR(*read[i], *expected[i].second, 5e-4) << i;
                }
            }
        }
    }
    EXPECT_EQ(played, std::ssize(instrument_lines::kInstruments));
}

}  // namespace
