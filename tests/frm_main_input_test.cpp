#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>

#include "platform/settings_store.h"
#include "support/pty.h"
#include "support/simulator.h"
#include "support/window_test.h"

namespace {

constexpr int kPort = 3;

// The real window with real serial ports, reading from a pseudo-terminal mapped to kPort.
class InputTest : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.isOpen());
        useRealPorts();
        type("Text3", QString::number(kPort));
    }

    SerialPort* port() { return find<SerialPort>("Com_in"); }
    QString status() { return text("lb_in_status"); }
    QString stored() { return settings_store::portConfiguration(settings_store::kInputKey); }
    // Sends the bytes and waits until `box` shows `part`.
    bool sendUntil(const QByteArray& bytes, const char* box, const QString& part) {
        return device.pty().write(bytes) &&
               QTest::qWaitFor([&] { return text(box).contains(part); });
    }

    test_support::PtyDevice device{kPort};
};

// A bad field leaves the fields before it stored and reopens the port with an empty buffer, so
// the next record read is the first framed by two line ends.
TEST_F(InputTest, RecordsAreShownThroughBadOnesAHeldDeviceAndNoise) {
    click("Command3");
    ASSERT_TRUE(port()->isOpen());
    EXPECT_EQ(stored(), "3:19200,N,8,1");
    EXPECT_EQ(status(), "Connected: " + device.path() + " 19200,N,8,1");

    // One line break per CR LF, even when a piece ends between CR and LF.
    ASSERT_TRUE(sendUntil("TAIL\r", "Text4", "TAIL"));
    ASSERT_TRUE(sendUntil("\n" + recordLine("0035.008", "-00.750", "15.500"), "lb_temp", "15.5"));
    EXPECT_EQ(text("Text4"), "TAIL\n0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC\n");
    EXPECT_EQ(text("lb_con"), "3.5008");
    EXPECT_EQ(text("lb_press"), "-0.75");
    EXPECT_DOUBLE_EQ(window().station().pressure, -0.075);
    EXPECT_GT(window().station().soundvelocity, 1450);
    EXPECT_EQ(text("lb_sound"), QString::number(window().station().soundvelocity, 'g', 15));

    ASSERT_TRUE(sendUntil(recordLine("ABC", "-01.000", "16.000"), "Text4", "ABC"));
    EXPECT_DOUBLE_EQ(window().station().pressure, -0.1) << "pressure is stored before the bad field";
    EXPECT_DOUBLE_EQ(window().station().conductivity, 3.5008);
    EXPECT_EQ(text("lb_press"), "-0.75");
    EXPECT_TRUE(port()->isOpen());
    EXPECT_TRUE(status().endsWith(", 1 record rejected"));
    ASSERT_TRUE(sendUntil(recordLine("0040.000", "-02.000", "17.000"), "Text4", "0040.000"));
    EXPECT_EQ(text("lb_temp"), "15.5");
    ASSERT_TRUE(sendUntil(recordLine("0041.000", "-03.000", "18.000"), "lb_temp", "18"));

    // A German desktop shows decimal commas. Of several records in one piece the newest stays.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(
        sendUntil(recordLine("30", "10", "1") + recordLine("0032.5", "1", "3.25"), "lb_temp", ","));
    EXPECT_EQ(text("lb_temp"), "3,25");
    EXPECT_EQ(text("lb_con"), "3,25");
    // A restart keeps the receive buffer: the line end of the last record frames the next.
    click("Command3");
    ASSERT_TRUE(sendUntil(recordLine("31", "10", "8.5"), "lb_temp", "8,5"));

    // Reading goes on through a Sea & Sun start on the same device (which fails silently) and
    // line noise that would grow the incoming-data box without bound.
    choose("op_sst");
    type("Text2", "1200,O,8,1");
    click("Command3");
    EXPECT_FALSE(find<SerialPort>("Com_SST")->isOpen());
    EXPECT_FALSE(find<Timer>("timer_sst")->isEnabled());
    EXPECT_EQ(status(), "Not connected: " + device.path() + " is held by the Kestrane connection");
    EXPECT_EQ(stored(), "3:1200,O,8,1");
    EXPECT_TRUE(port()->isOpen());

    for (int i = 0; i < 64; ++i) {
        ASSERT_TRUE(device.pty().write(QByteArray(4096, 'x')));
    }
    ASSERT_TRUE(sendUntil("END\r\n" + recordLine("30", "10", "7.5"), "lb_temp", "7,5"));
    EXPECT_TRUE(text("Text4").remove(u'\n').contains("xEND"));
    EXPECT_LT(text("Text4").size(), 128 * 1024);
    EXPECT_TRUE(dialogs.messages.empty());
}

// A failed start closes the port and stops at the failing step: only an unusable port number is
// told in a message box. The status line says why in every case, a busy device included.
TEST_F(InputTest, AFailedStartStopsAtTheFailingStep) {
    test_support::mapPort(9, device.path() + "-gone");
    const test_support::PtyDevice held(8);
    QtSerialPort holder;
    ASSERT_TRUE(holder.setPortNumber(8).ok());
    ASSERT_TRUE(holder.open().ok());
    const struct {
        const char *port, *settings, *stored, *status;
        bool message;
    } cases[] = {
        {"abc", "19200,N,8,1", "3:19200,N,8,1", "the COM Port box holds \"abc\"", false},
        {"0", "19200,N,8,1", "3:19200,N,8,1", "port number 0 is outside 1..32767", true},
        {"3", "19200,X,8,1", "3:19200,N,8,1", "the Port Settings \"19200,X,8,1\"", false},
        {"9", "19200,N,8,1", "9:19200,N,8,1", "-gone; name the device of port 9 under [Ports] COM9",
         true},
        {"8", "19200,N,8,1", "8:19200,N,8,1", " is busy: another program holds it", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        type("Text3", QString::number(kPort));
        type("Text2", "19200,N,8,1");
        click("Command3");
        ASSERT_TRUE(port()->isOpen());
        dialogs.messages.clear();
        type("Text3", c.port);
        type("Text2", c.settings);
        click("Command3");
        EXPECT_FALSE(port()->isOpen());
        EXPECT_TRUE(status().startsWith("Not connected: ") && status().contains(c.status))
            << status().toStdString();
        EXPECT_EQ(stored(), c.stored);
        ASSERT_EQ(dialogs.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
        }
    }
}

using SimulatedInstrument = WindowTest;

// Drifting values in odd pieces, several records per write and a garbage line now and then.
TEST_F(SimulatedInstrument, FeedsTheWindowThroughGarbageAndOddPieces) {
    Simulator sim(kPort, {"--mode", "kestrane", "--interval", "50", "--drift",
                          "--records-per-write", "3", "--chunk", "17", "--chunk-pause", "5",
                          "--garbage-every", "7", "--temperature", "12.25"});
    ASSERT_TRUE(sim.ready());
    useRealPorts();
    type("Text3", QString::number(kPort));
    click("Command3");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("Text4").contains("line noise"); }));
    const QString beforeGarbage = text("lb_temp");
    EXPECT_TRUE(QTest::qWaitFor([&] { return text("lb_temp") != beforeGarbage; }));
    EXPECT_NEAR(window().station().temperature, 12.25, 1.0);
    EXPECT_GT(window().station().soundvelocity, 1400);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(sim.stop());
    EXPECT_FALSE(QFileInfo::exists(sim.link())) << "the simulator removes its link";
}

}  // namespace
