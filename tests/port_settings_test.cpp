#include "platform/port_settings.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

using Parity = PortSettings::Parity;
using StopBits = PortSettings::StopBits;

TEST(PortSettings, ReadsBaudParityDataBitsAndStopBits) {
    const struct {
        const char* text;
        PortSettings expected;
    } cases[] = {
        {"19200,N,8,1", {19200, Parity::None, 8, StopBits::One}},
        {"1200,O,8,1", {1200, Parity::Odd, 8, StopBits::One}},
        {"9600,e,7,2", {9600, Parity::Even, 7, StopBits::Two}},
        {"300,M,5,1.5", {300, Parity::Mark, 5, StopBits::OneAndHalf}},
        {"110,s,6,1", {110, Parity::Space, 6, StopBits::One}},
        {" 019200 , n , 8 , 1 ", {19200, Parity::None, 8, StopBits::One}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePortSettings(QString::fromLatin1(c.text)), c.expected) << c.text;
    }
}

TEST(PortSettings, RefusesWhatAPortCannotUse) {
    for (const char* text :
         {"", "19200,N,8", "19200,N,8,1,", "0,N,8,1", "-9600,N,8,1", "+9600,N,8,1", "9600.5,N,8,1",
          "96 00,N,8,1", "99999999999,N,8,1", "9600,X,8,1", "9600,NO,8,1", "9600,,8,1",
          "9600,N,4,1", "9600,N,9,1", "9600,N,8,0", "9600,N,8,3", "9600,N,8,1.0", "9600;N;8;1"}) {
        EXPECT_FALSE(parsePortSettings(QString::fromLatin1(text)).has_value()) << text;
    }
}

}  // namespace
