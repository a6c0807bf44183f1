#include "input/instruments.h"

#include "platform/named_rows.h"

namespace instruments {
namespace {

const Instrument kInstruments[] = {
    {"Kestrane", "op_kestrane", "Kestrane", Instrument::Reading::Records, false, nullptr, false},
    {"SeaSun", "op_sst", "Sea & Sun", Instrument::Reading::PolledWords, true, "1200,O,8,1", true},
};

}  // namespace

std::span<const Instrument> all() {
    return kInstruments;
}

const Instrument& standard() {
    return kInstruments[0];
}

const Instrument* named(const QString& name) {
    return named_rows::find(all(), name);
}

QString names() {
    return named_rows::choices(all());
}

}  // namespace instruments
