// A stored port configuration ("IN" or "OUT"), which a user may edit by hand: split into the
// two boxes, then read the way "Start Connection" reads the boxes.

#include <QString>
#include <cstddef>
#include <cstdint>

#include "fuzz/check.h"
#include "platform/number_text.h"
#include "platform/port_settings.h"
#include "platform/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString stored =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const settings_store::PortBoxes boxes = settings_store::splitPortConfiguration(stored);
    FUZZ_CHECK(!boxes.port.contains(u':'));
    FUZZ_CHECK(boxes.settings.has_value() == stored.contains(u':'));
    if (boxes.settings) {
        FUZZ_CHECK(!boxes.settings->contains(u':'));
        const QString joined = boxes.port + u':' + *boxes.settings;
        FUZZ_CHECK(stored.startsWith(joined));
        FUZZ_CHECK(stored.count(u':') > 1 || stored == joined);
        // What the boxes then store comes back as the same two texts.
        const settings_store::PortBoxes again = settings_store::splitPortConfiguration(joined);
        FUZZ_CHECK(again.port == boxes.port && again.settings == boxes.settings);
        const auto settings = parsePortSettings(*boxes.settings);
        FUZZ_CHECK(!settings || boxes.settings->count(u',') == 3);
    } else {
        FUZZ_CHECK(boxes.port == stored);
    }
    const auto number = number_text::parseInt16(boxes.port);
    FUZZ_CHECK(!number || (*number >= -32768 && *number <= 32767));
    return 0;
}
