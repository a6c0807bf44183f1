#pragma once

#include <QByteArray>
#include "output/telegrams.h"
#include "platform/named_rows.h"

// The telegram formats an output can send, one row each: adding a format is a row here, its
// builder in telegrams.h and its row in the tests.
struct TelegramFormat {
    // As the settings file stores it and the simulated receiver names it.
    const char* name;
    // The window's option button that chooses it.
    const char* option;
    // Only for a sounding that has what the format needs.
    QByteArray (*build)(const Sounding& sounding);
    bool needsTemperature;
    // What a receiver takes for one telegram of this format, CR LF included, as a regular
    // expression. A decimal comma is taken too, as receivers that were fed by older senders do.
    const char* pattern;
};

namespace telegrams {

// App. Microsystems is sent until another is chosen.
const NamedRows<TelegramFormat>& formats();

// Why `format` cannot be built from `sounding` ("'SVP 20' needs a temperature; the instrument
// gives none"); empty when it can. Nothing is sent then: a made-up value would steer the
// echosounder.
QString missingValue(const TelegramFormat& format, const Sounding& sounding);

}  // namespace telegrams
