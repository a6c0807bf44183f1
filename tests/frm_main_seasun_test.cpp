#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "input/frm_sst.h"
#include "input/sea_sun_block_text.h"
#include "input/sea_sun_encoder.h"
#include "seawater/salinity.h"
#include "support/simulator.h"
#include "support/window_test.h"

namespace {

using sea_sun::Channel;

class SeaSunWindow : public WindowTest {
protected:
    FakePort& port() { return *static_cast<FakePort*>(find<SerialPort>("Com_SST")); }
    void tick() { emit find<Timer>("timer_sst")->tick(); }
    void retry() { emit find<Timer>("Com_SST_reopen")->tick(); }

    qint64 nowMs = 0;
};

// Nineteen filler bytes, then a word of each channel, so every word ends at index 21 or later.
QByteArray reading(int pressureCount, int temperatureCount, int conductivityCount) {
    return QByteArray(19, '\0') + sea_sun::encodeWord(Channel::Pressure, pressureCount) +
           sea_sun::encodeWord(Channel::Temperature, temperatureCount) +
           sea_sun::encodeWord(Channel::Conductivity, conductivityCount);
}

// A tick shows the waiting block and decodes it into the fields and labels; the port closed, it
// does nothing. A block too short for a word is shown, but nothing is computed.
TEST_F(SeaSunWindow, TickDecodesTheWaitingBlockIntoFieldsAndLabels) {
    port().incoming = QByteArray(2, '\0');
    tick();
    EXPECT_EQ(port().incoming.size(), 2);
    ASSERT_TRUE(port().open().ok());
    tick();
    EXPECT_EQ(text("Text4"), QString(QChar::ReplacementCharacter));
    EXPECT_EQ(text("lb_salinity"), "-");

    const QByteArray block = reading(3227, 37681, 39400);
    port().incoming = block;
    tick();
    EXPECT_EQ(text("Text4"), sea_sun::blockText(block));
    EXPECT_EQ(text("lb_press"), "1.521");
    EXPECT_EQ(text("lb_temp"), "20.000");
    EXPECT_EQ(text("lb_con"), "3.999");
    EXPECT_EQ(window().station().salinity, *seawater::practicalSalinity(
                                     3.9994832051424405, window().station().temperature, 1.5213549488635119));
    const QString salinityShown = text("lb_salinity");

    // Nothing received: the incoming-data box empties, the reading stays.
    tick();
    EXPECT_EQ(text("Text4"), "");
    EXPECT_EQ(text("lb_salinity"), salinityShown);
}

// An unplugged adapter comes back without the user: the port is tried again once a second until
// it opens. A start by the user, of either instrument, ends the quiet reopening of both.
TEST_F(SeaSunWindow, AVanishedPortIsReopenedUntilTheUserStartsAgain) {
    const PortError gone{SerialPort::kUnusablePort, QStringLiteral("no such device")};
    click("Command3");
    static_cast<FakePort*>(find<SerialPort>("Com_in"))->vanish();
    EXPECT_TRUE(find<Timer>("Com_in_reopen")->isEnabled());
    EXPECT_EQ(text("lb_in_status"), "Reconnecting ...");
    choose("op_sst");
    click("Command3");
    EXPECT_FALSE(find<Timer>("Com_in_reopen")->isEnabled());
    EXPECT_EQ(text("lb_in_status"), "Connected: COM1 1200,O,8,1");
    ASSERT_TRUE(find<Timer>("timer_sst")->isTicking());
    EXPECT_EQ(port().readBufferSize, 1200 / 8 + 256) << "a poll takes about a second of data";

    port().vanish();
    port().openErrors = {gone, gone};
    retry();
    retry();
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(text("lb_in_status"), "Reconnecting ...");
    retry();
    ASSERT_TRUE(port().isOpen());
    EXPECT_EQ(text("lb_in_status"), "Connected: COM1 1200,O,8,1");
    port().incoming = reading(3227, 37681, 39400);
    tick();
    EXPECT_EQ(text("lb_temp"), "20.000");
    EXPECT_TRUE(dialogs.messages.empty());

    // The user's own start that fails is not retried behind their back, nor is this instrument
    // once the other one is started.
    for (const char* option : {"op_sst", "op_kestrane"}) {
        SCOPED_TRACE(option);
        port().vanish();
        port().openErrors = {gone};
        choose(option);
        click("Command3");
        journal.clear();
        tick();
        EXPECT_FALSE(find<Timer>("Com_SST_reopen")->isEnabled());
        EXPECT_FALSE(port().isOpen());
        EXPECT_TRUE(journal.isEmpty()) << journal.join(", ").toStdString();
    }

    // Chosen again, the instrument offers its settings again, and still one coefficient window.
    type("Text2", "9600,N,8,1");
    choose("op_sst");
    EXPECT_EQ(text("Text2"), "1200,O,8,1");
    const auto coefficientWindows = window().findChildren<frm_sst*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(coefficientWindows.size(), 1);
    EXPECT_TRUE(coefficientWindows.front()->isVisible());
}

// In water colder than the temperature words' window every one is refused, and the field keeps
// the last temperature accepted. With only fresh readings to be sent the telegrams stop once that
// one is stale, and the status line names what is missing.
TEST_F(SeaSunWindow, ARefusedChannelKeepsTheTelegramsBack) {
    services.steadyClock = [this] { return nowMs; };
    find<QCheckBox>("ck_fresh_only")->click();
    choose("op_sst");
    click("Command3");
    click("Command4");
    const int cold = sea_sun::rawCountFor(Channel::Temperature, 10);
    for (; nowMs <= 12'000; nowMs += 1'000) {
        port().incoming = reading(3227, nowMs == 0 ? 37681 : cold, 39400);
        tick();
        emit find<Timer>("Timer4")->tick();
    }
    EXPECT_EQ(static_cast<FakePort*>(find<SerialPort>("com_out"))->written.count("\r\n"), 6);
    EXPECT_EQ(text("lb_in_status"), "No temperature for 12 s");
    EXPECT_EQ(text("lb_press"), "1.521");
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
            return window().station().pressure == pressure && window().station().temperature == temperature &&
                   window().station().conductivity == conductivity;
        },
        20000));
    EXPECT_GT(window().station().soundvelocity, 1400);
    EXPECT_FALSE(text("Text4").isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
