#include "input/sea_sun_block_text.h"

#include "input/display_text.h"

namespace sea_sun {

QString blockText(const QByteArray& block) {
    QString units;
    units.reserve((block.size() + 1) / 2);
    for (qsizetype i = 0; i < block.size(); i += 2) {
        const auto low = static_cast<unsigned char>(block.at(i));
        const auto high = i + 1 < block.size() ? static_cast<unsigned char>(block.at(i + 1)) : 0;
        units += QChar(static_cast<char16_t>(low | high << 8));
    }
    return displayText(units);
}

}  // namespace sea_sun
