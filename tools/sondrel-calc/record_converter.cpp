#include "tools/sondrel-calc/record_converter.h"

#include <array>

#include "input/ascii_record.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tools/sondrel-calc/written_numbers.h"

namespace sondrel_calc {

namespace {

// The calculator's columns are in mS/cm and dbar, the reading's in S/m and bar.
constexpr double kToColumnUnits = 10;

std::optional<double> scaled(std::optional<double> value) {
    return value ? std::optional(*value * kToColumnUnits) : std::nullopt;
}

// Why a record the reader stopped in is not complete: the first quantity it gives that the
// reading lacks, since the reading ends at the field that holds no number.
std::string whatIsMissing(const RecordLayout& layout, const AsciiReading& reading) {
    const Quantities gives = layout.gives();
    const std::tuple<bool, const std::optional<double>&, const RecordField&, const char*>
        quantities[] = {
            {gives.pressure, reading.pressure, layout.pressure, "pressure"},
            {gives.conductivity, reading.conductivity, layout.conductivity, "conductivity"},
            {gives.temperature, reading.temperature, layout.temperature, "temperature"},
            {gives.soundVelocity, reading.soundVelocity, layout.soundVelocity, "sound velocity"}};
    for (const auto& [given, value, field, name] : quantities) {
        if (given && !value) {
            return "field " + std::to_string(field.number) + " holds no " + name;
        }
    }
    return "the record is not complete";
}

}  // namespace

RecordConverter::RecordConverter(const RecordLayout& layout, double fixedDecibars)
    : layout_(layout), fixedDecibars_(fixedDecibars) {
    framer_.setFraming(layout.framing);
    // A file's first line is whole, not the rest of a line the port opened in.
    framer_.append("\r\n");
}

LineKind RecordConverter::convert(std::string_view line, std::string& text) {
    // The stream cuts at LF and drops it; the framer sees the line end it ended in.
    QByteArray bytes(line.data(), static_cast<qsizetype>(line.size()));
    bytes += '\n';
    LineKind kind = LineKind::Skipped;
    const std::size_t start = text.size();
    for (const QByteArray& record : framer_.append(bytes)) {
        if (record.isEmpty() || !isRecordLine(layout_, record)) {
            continue;
        }
        if (kind == LineKind::Converted) {
            text += '\n';
        }
        const std::size_t mark = text.size();
        // A line that holds a bad record is reported whole, without the records before it.
        if (convertRecord(record, text) == LineKind::Malformed) {
            text.erase(start, mark - start);
            return LineKind::Malformed;
        }
        kind = LineKind::Converted;
    }
    return kind;
}

LineKind RecordConverter::convertRecord(QByteArrayView record, std::string& text) const {
    const AsciiReading reading = readAsciiRecord(layout_, record);
    if (!reading.complete) {
        text += whatIsMissing(layout_, reading);
        return LineKind::Malformed;
    }
    const double bar = reading.pressure.value_or(fixedDecibars_ / kToColumnUnits);
    std::optional<double> salinity;
    std::optional<double> velocity = reading.soundVelocity;
    if (reading.conductivity && reading.temperature) {
        salinity = seawater::practicalSalinity(*reading.conductivity, *reading.temperature, bar);
        velocity =
            salinity ? seawater::soundVelocity(*salinity, *reading.temperature, bar) : std::nullopt;
    }
    std::array<char, 5 * 33> buffer;
    char* at = writeSignificant(buffer.data(), scaled(reading.conductivity));
    *at++ = '\t';
    at = writeSignificant(at, reading.temperature);
    *at++ = '\t';
    at = writeSignificant(at, scaled(reading.pressure).value_or(fixedDecibars_));
    *at++ = '\t';
    at = writeShortest(at, salinity);
    *at++ = '\t';
    at = writeShortest(at, velocity);
    text.append(buffer.data(), at);
    return LineKind::Converted;
}

}  // namespace sondrel_calc
