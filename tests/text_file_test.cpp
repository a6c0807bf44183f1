#include <gtest/gtest.h>

#include <clocale>

#include "logging/log_header.h"
#include "platform/text_file.h"

namespace {

// The degree sign of the header is the one character that tells the encodings apart.
TEST(TextEncoding, HeaderBytesFollowTheEncoding) {
    const QByteArray before = "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [";
    const QByteArray after = "C]\tSalinity [psu]\tSound Velocity [m/s]";
    EXPECT_EQ(encodeText(logHeader(), "ISO-8859-1"), before + "\xB0" + after);
    EXPECT_EQ(encodeText(logHeader(), "no such encoding"), before + "\xC2\xB0" + after);
}

// The plain C locale is 7-bit and cannot hold the degree sign; its log is UTF-8 as Qt's own
// local 8-bit text is.
TEST(TextEncoding, SevenBitLocaleGivesUtf8) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    const QByteArray encoding = systemTextEncoding();
    std::setlocale(LC_CTYPE, saved.c_str());
    EXPECT_EQ(encoding, "UTF-8");
}

}  // namespace
