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
    QByteArray (*build)(const Sounding& sounding);
    // What a receiver takes for one telegram of this format, CR LF included, as a regular
    // expression. A decimal comma is taken too, as receivers that were fed by older senders do.
    const char* pattern;
};

namespace telegrams {

// App. Microsystems is sent until another is chosen.
const NamedRows<TelegramFormat>& formats();

}  // namespace telegrams
