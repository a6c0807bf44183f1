#include <gtest/gtest.h>

#include "input/display_text.h"
#include "input/sea_sun_block_text.h"

namespace {

QString units(std::initializer_list<char16_t> codes) {
    QString text;
    for (const char16_t c : codes) {
        text += QChar(c);
    }
    return text;
}

TEST(DisplayText, KeepsWhatATextBoxShowsSafelyAndReplacesTheRest) {
    const struct {
        const char* name;
        QString received;
        QString shown;
    } cases[] = {
        {"printable text", units({u'A', 0x00e9, 0x4e2d}), units({u'A', 0x00e9, 0x4e2d})},
        {"C0 and C1 controls", units({0x0000, 0x000d, 0x001b, 0x0085}),
         units({0xfffd, 0xfffd, 0xfffd, 0xfffd})},
        {"bidirectional override and separators", units({0x202e, 0x2028, 0x2029}),
         units({0xfffd, 0xfffd, 0xfffd})},
        {"text document markers", units({0xfdd0, 0xfffc, 0xfffe, 0xffff}),
         units({0xfffd, 0xfffd, 0xfffd, 0xfffd})},
        {"lone surrogates", units({0xd83d, u'x', 0xde00, 0xd83d}),
         units({0xfffd, u'x', 0xfffd, 0xfffd})},
        {"a surrogate pair is one character", units({0xd83d, 0xde00}), units({0xd83d, 0xde00})},
        {"a pair naming a non-character", units({0xd83f, 0xdffe}), units({0xfffd})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(displayText(c.received), c.shown) << c.name;
    }
}

TEST(SeaSunBlockText, PairsOfBytesLowHalfFirst) {
    const struct {
        QByteArray block;
        QString shown;
    } cases[] = {
        {QByteArray("\x41\x00\x2d\x4e\x42", 5), units({u'A', 0x4e2d, u'B'})},
        {QByteArray(4, '\0'), units({0xfffd, 0xfffd})},
        {QByteArray("\x3d\xd8\x00\xde", 4), units({0xd83d, 0xde00})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sea_sun::blockText(c.block), c.shown) << c.block.toHex().toStdString();
    }
}

}  // namespace
