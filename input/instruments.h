#pragma once

#include "platform/named_rows.h"

// The instruments the input reads, one row each.
struct Instrument {
    // How its readings come: records as they arrive on Com_in, or data words that timer_sst
    // polls from Com_SST once a second.
    enum class Reading { Records, PolledWords };

    // As the settings file stores it.
    const char* name;
    // The window's option button that chooses it.
    const char* option;
    // As messages name it.
    const char* title;
    Reading reading;
    // Its quantities come one by one, each of which may be refused: a reading counts only once
    // each has been accepted.
    bool channelsApart;
    // The port settings offered when it is chosen, or nullptr to leave the box as it is.
    const char* offeredSettings;
    // It has the calibration-coefficient window.
    bool coefficientWindow;
};

namespace instruments {

// The Kestrane is read until another is chosen.
const NamedRows<Instrument>& table();

}  // namespace instruments
