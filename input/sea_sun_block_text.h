#pragma once

#include <QByteArray>
#include <QString>

namespace sea_sun {

// A block as the incoming-data box shows it: each pair of bytes one 16-bit character, the first
// byte of the pair its low half; an odd last byte is a character of its own. Characters that a
// text box cannot show safely are replaced (see displayText).
QString blockText(const QByteArray& block);

}  // namespace sea_sun
