#include "platform/port_settings.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

using Parity = PortSettings::Parity;
using StopBits = PortSettings::StopBits;

struct GoodCase {
    const char* text;
    PortSettings expected;
};

class GoodSettings : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodSettings, AreRead) {
    const auto parsed = parsePortSettings(QString::fromLatin1(GetParam().text));
    ASSERT_TRUE(parsed.has_value()) << GetParam().text;
    EXPECT_EQ(*parsed, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    PortSettings, GoodSettings,
    ::testing::Values(GoodCase{"19200,N,8,1", {19200, Parity::None, 8, StopBits::One}},
                      GoodCase{"4800,N,8,1", {4800, Parity::None, 8, StopBits::One}},
                      GoodCase{"1200,O,8,1", {1200, Parity::Odd, 8, StopBits::One}},
                      GoodCase{"9600,e,7,2", {9600, Parity::Even, 7, StopBits::Two}},
                      GoodCase{"300,M,5,1.5", {300, Parity::Mark, 5, StopBits::OneAndHalf}},
                      GoodCase{"110,s,6,1", {110, Parity::Space, 6, StopBits::One}},
                      GoodCase{" 19200 , N , 8 , 1 ", {19200, Parity::None, 8, StopBits::One}},
                      GoodCase{"115200,n,8,1", {115200, Parity::None, 8, StopBits::One}},
                      GoodCase{"019200,N,8,1", {19200, Parity::None, 8, StopBits::One}}));

class BadSettings : public ::testing::TestWithParam<const char*> {};

TEST_P(BadSettings, AreRefused) {
    EXPECT_FALSE(parsePortSettings(QString::fromLatin1(GetParam())).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(PortSettings, BadSettings,
                         ::testing::Values("", "19200", "19200,N,8", "19200,N,8,1,",
                                           "19200,N,8,1,x", "0,N,8,1", "-9600,N,8,1", "+9600,N,8,1",
                                           "9600.5,N,8,1", "96 00,N,8,1", "99999999999,N,8,1",
                                           "fast,N,8,1", ",N,8,1", "9600,X,8,1", "9600,NO,8,1",
                                           "9600,,8,1", "9600,N,4,1", "9600,N,9,1", "9600,N,8,0",
                                           "9600,N,8,3", "9600,N,8,1,5", "9600,N,8,1.0",
                                           "9600;N;8;1"));

}  // namespace
