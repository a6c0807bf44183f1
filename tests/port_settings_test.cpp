#include "platform/port_settings.h"

#include <gtest/gtest.h>

#include "output/udp_target.h"

namespace {

using Parity = PortSettings::Parity;
using StopBits = PortSettings::StopBits;

TEST(PortSettings, ReadsBaudParityDataBitsAndStopBits) {
    const struct {
        const char* text;
        PortSettings expected;
    } cases[] = {
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

// The UDP target box: an IPv6 address only in brackets, since its own colons would swallow the
// port; a refusal says what to type instead.
TEST(UdpTarget, ReadsHostAndPortOrSaysWhatIsWrong) {
    const struct {
        const char* typed;
        const char* host;
        quint16 port;
        const char* problem;  // a part of the refusal
    } cases[] = {
        {" 192.168.1.255:5602 ", "192.168.1.255", 5602, nullptr},
        {"echosounder.local:65535", "echosounder.local", 65535, nullptr},
        {"[::1]:5602", "::1", 5602, nullptr},
        {"", nullptr, 0, "no target"},
        {"127.0.0.1", nullptr, 0, "no port: type host:port"},
        {":5602", nullptr, 0, "no host"},
        {"::1:5602", nullptr, 0, "in brackets"},
        {"[::1]5602", nullptr, 0, "no port after the address"},
        {"[::1:5602", nullptr, 0, "no IPv6 address"},
        {"[127.0.0.1]:5602", nullptr, 0, "no IPv6 address"},
        {"host:", nullptr, 0, "1 to 65535, not \"\""},
        {"host:0", nullptr, 0, "1 to 65535"},
        {"host:65536", nullptr, 0, "1 to 65535"},
        {"host:+80", nullptr, 0, "1 to 65535"},
        {"host:000005602", nullptr, 0, "1 to 65535"},
    };
    EXPECT_EQ(parseUdpTarget(QStringLiteral("[::1]:5602")).target->text(), "[::1]:5602");
    for (const auto& c : cases) {
        const ParsedUdpTarget parsed = parseUdpTarget(QString::fromLatin1(c.typed));
        if (c.host) {
            ASSERT_TRUE(parsed.target) << c.typed << ": " << parsed.problem.toStdString();
            EXPECT_EQ(*parsed.target, (UdpTarget{QString::fromLatin1(c.host), c.port})) << c.typed;
        } else {
            EXPECT_FALSE(parsed.target) << c.typed;
            EXPECT_TRUE(parsed.problem.contains(QLatin1String(c.problem)))
                << c.typed << ": " << parsed.problem.toStdString();
        }
    }
}

}  // namespace
