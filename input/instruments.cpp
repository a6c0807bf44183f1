#include "input/instruments.h"

namespace instruments {
namespace {

const Instrument kInstruments[] = {
    {"Kestrane", "op_kestrane", "Kestrane", Instrument::Reading::Records, false, nullptr, false},
    {"SeaSun", "op_sst", "Sea & Sun", Instrument::Reading::PolledWords, true, "1200,O,8,1", true},
};

}  // namespace

const NamedRows<Instrument>& table() {
    static const NamedRows<Instrument> instruments{kInstruments, kInstruments[0]};
    return instruments;
}

}  // namespace instruments
