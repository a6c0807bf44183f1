#include <gtest/gtest.h>

#include "input/display_text.h"
#include "input/sea_sun_block_text.h"

namespace {

const QChar kReplacement(QChar::ReplacementCharacter);

QString units(std::initializer_list<char16_t> codes) {
    QString text;
    for (const char16_t c : codes) {
        text += QChar(c);
    }
    return text;
}

TEST(DisplayText, KeepsWhatATextBoxShowsSafelyAndReplacesTheRest) {
    struct Case {
        const char* name;
        QString received;
        QString shown;
    };
    const Case cases[] = {
        {"printable text", units({u'A', 0x00e9, 0x4e2d, 0x3262}),
         units({u'A', 0x00e9, 0x4e2d, 0x3262})},
        {"NUL", units({u'A', 0x0000, u'B'}), units({u'A', 0xfffd, u'B'})},
        {"C0 and C1 controls", units({0x000d, 0x000a, 0x001b, 0x0085}),
         units({0xfffd, 0xfffd, 0xfffd, 0xfffd})},
        {"bidirectional override", units({0x202e, u'x'}), units({0xfffd, u'x'})},
        {"line and paragraph separators", units({0x2028, 0x2029}), units({0xfffd, 0xfffd})},
        {"text document markers", units({0xfdd0, 0xfdd1, 0xfffc, 0xfffe, 0xffff}),
         units({0xfffd, 0xfffd, 0xfffd, 0xfffd, 0xfffd})},
        {"lone high surrogate", units({0xd83d, u'x'}), units({0xfffd, u'x'})},
        {"lone low surrogate", units({u'x', 0xde00}), units({u'x', 0xfffd})},
        {"high surrogate at the end", units({0xd83d}), units({0xfffd})},
        {"swapped surrogates", units({0xde00, 0xd83d}), units({0xfffd, 0xfffd})},
        {"a surrogate pair is one character", units({0xd83d, 0xde00}), units({0xd83d, 0xde00})},
        {"a pair naming a non-character", units({0xd83f, 0xdffe}), units({0xfffd})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(displayText(c.received), c.shown);
    }
}

TEST(SeaSunBlockText, PairsOfBytesLowHalfFirst) {
    struct Case {
        const char* name;
        QByteArray block;
        QString shown;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"low byte first", QByteArray("\x41\x00\x2d\x4e", 4), units({u'A', 0x4e2d})},
        {"odd last byte is a character of its own", QByteArray("\x41\x00\x42", 3),
         units({u'A', u'B'})},
        {"zero bytes", QByteArray(4, '\0'), units({0xfffd, 0xfffd})},
        {"a data word and a half", QByteArray("\x36\x32\x10\x62", 4), units({0x3236, 0x6210})},
        {"surrogate halves across pairs", QByteArray("\x3d\xd8\x00\xde", 4),
         units({0xd83d, 0xde00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sea_sun::blockText(c.block), c.shown);
    }
}

}  // namespace
