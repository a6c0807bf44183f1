#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>

#include "input/frm_sst.h"
#include "input/sea_sun_block_text.h"
#include "input/sea_sun_encoder.h"
#include "support/simulator.h"
#include "support/window_test.h"

namespace {

using sea_sun::Channel;
using SeaSunWindow = WindowTest;

// The status line follows the device away and back, and a tick shows its block and the reading
// in it. Chosen again, the instrument offers its settings again, and still one coefficient window.
TEST_F(SeaSunWindow, TheStatusLineFollowsTheDeviceAndATickShowsItsBlock) {
    choose("op_sst");
    click("Command3");
    auto* port = static_cast<FakePort*>(find<SerialPort>("Com_SST"));
    port->vanish();
    EXPECT_EQ(text("lb_in_status"), "Reconnecting ...");
    emit find<Timer>("Com_SST_reopen")->tick();
    EXPECT_EQ(text("lb_in_status"), "Connected: COM1 1200,O,8,1");
    port->incoming = seaSunBlock(3227, 37681, 39400);
    emit find<Timer>("timer_sst")->tick();
    EXPECT_EQ(text("Text4"), sea_sun::blockText(seaSunBlock(3227, 37681, 39400)));
    EXPECT_EQ(text("lb_temp"), "20.000");
    EXPECT_TRUE(dialogs.messages.empty());

    choose("op_kestrane");
    type("Text2", "9600,N,8,1");
    choose("op_sst");
    EXPECT_EQ(text("Text2"), "1200,O,8,1");
    const auto coefficientWindows = window().findChildren<frm_sst*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(coefficientWindows.size(), 1);
    EXPECT_TRUE(coefficientWindows.front()->isVisible());
}

using SimulatedSeaSun = WindowTest;

// The simulated instrument streams its words at line speed into a pseudo-terminal; the window,
// with real serial ports, polls them once a second. The instrument sends the nearest raw counts.
TEST_F(SimulatedSeaSun, ReadingsReachTheFields) {
    constexpr int kPort = 4;
    Simulator sim(kPort, {"--mode", "seasun", "--pressure", "1.2", "--temperature", "18.5",
                          "--conductivity", "45"});
    ASSERT_TRUE(sim.ready());
    useRealPorts();
    choose("op_sst");
    type("Text3", QString::number(kPort));
    click("Command3");
    ASSERT_TRUE(find<SerialPort>("Com_SST")->isOpen());

    const auto sent = [](Channel channel, double value) {
        return sea_sun::convert(channel, sea_sun::rawCountFor(channel, value));
    };
    const double pressure = sent(Channel::Pressure, 1.2);
    const double temperature = sent(Channel::Temperature, 18.5);
    const double conductivity = sent(Channel::Conductivity, 4.5);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window().station().pressure == pressure &&
                   window().station().temperature == temperature &&
                   window().station().conductivity == conductivity;
        },
        20000));
    EXPECT_GT(window().station().soundvelocity, 1400);
    EXPECT_FALSE(text("Text4").isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(sim.stop());
    EXPECT_FALSE(QFileInfo::exists(sim.link())) << "the simulator removes its link";
}

}  // namespace
