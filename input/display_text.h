#pragma once

#include <QString>
#include <QStringView>

// Received bytes shown in a text box are data, not text: a NUL, a control or formatting
// character, a lone surrogate or one of the non-characters that the text document uses as its
// own markers could cut the display short, reorder it or upset the document. Each such
// character (or surrogate pair) becomes U+FFFD; everything else is kept as it is.
QString displayText(QStringView received);
