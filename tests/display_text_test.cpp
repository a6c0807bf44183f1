#include <gtest/gtest.h>

#include <string_view>

#include "input/display_text.h"
#include "input/sea_sun_block_text.h"

namespace {

using namespace std::literals;

// Code units as they are, lone surrogates included.
QString units(std::u16string_view codes) {
    return QStringView(codes.data(), static_cast<qsizetype>(codes.size())).toString();
}

TEST(DisplayText, KeepsWhatATextBoxShowsSafelyAndReplacesTheRest) {
    const struct {
        const char* name;
        std::u16string_view received, shown;
    } cases[] = {
        {"printable text", u"A\u00e9\u4e2d"sv, u"A\u00e9\u4e2d"sv},
        {"C0 and C1 controls", u"\0\r\x1b\x85"sv, u"\xfffd\xfffd\xfffd\xfffd"sv},
        {"bidirectional override and separators", u"\u202e\u2028\u2029"sv, u"\xfffd\xfffd\xfffd"sv},
        {"text document markers", u"\ufdd0\ufffc\ufffe\uffff"sv, u"\xfffd\xfffd\xfffd\xfffd"sv},
        {"lone surrogates", u"\xd83dx\xde00\xd83d"sv, u"\xfffdx\xfffd\xfffd"sv},
        {"a surrogate pair is one character", u"\U0001f600"sv, u"\U0001f600"sv},
        {"a pair naming a non-character", u"\U0001fffe"sv, u"\xfffd"sv},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(displayText(units(c.received)), units(c.shown)) << c.name;
    }
}

TEST(SeaSunBlockText, PairsOfBytesLowHalfFirst) {
    EXPECT_EQ(sea_sun::blockText(QByteArray("\x41\x00\x2d\x4e\x42", 5)), units(u"A\u4e2dB"sv));
    EXPECT_EQ(sea_sun::blockText(QByteArray(4, '\0')), units(u"\xfffd\xfffd"sv));
    EXPECT_EQ(sea_sun::blockText(QByteArray("\x3d\xd8\x00\xde", 4)), units(u"\U0001f600"sv));
}

}  // namespace
