#pragma once

#include <string>
#include <string_view>

#include "input/ascii_framer.h"
#include "input/record_layout.h"
#include "tools/sondrel-calc/calc_line.h"

namespace sondrel_calc {

// The lines of a file an ASCII instrument's records were recorded to, cut into records and read
// as the window cuts and reads them, to the columns of a converted line: conductivity [mS/cm],
// temperature [degC], pressure [dbar], salinity and sound velocity. Salinity and sound velocity
// are computed from a conductivity and a temperature; a record without them brings its own
// sound velocity. A quantity the layout does not give is "-", but for the pressure, which is
// then the fixed one.
class RecordConverter {
public:
    RecordConverter(const RecordLayout& layout, double fixedDecibars);

    // Lines that hold no record (another prefix, none at all) are skipped; a record that does
    // not hold every field the layout gives is malformed.
    LineKind convert(std::string_view line, std::string& text);

private:
    LineKind convertRecord(QByteArrayView record, std::string& text) const;

    RecordLayout layout_;
    double fixedDecibars_;
    AsciiFramer framer_;
};

}  // namespace sondrel_calc
