#pragma once

#include <QByteArray>
#include <QString>
#include <span>

#include "output/telegrams.h"

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

std::span<const TelegramFormat> formats();
// The format an output sends until another is chosen: App. Microsystems.
const TelegramFormat& standardFormat();
// nullopt for a name no row gives.
const TelegramFormat* formatNamed(const QString& name);
// "Generic, SVP 20 or App. Microsystems", for a message naming what may be chosen.
QString formatNames();

}  // namespace telegrams
