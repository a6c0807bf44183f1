#include <gtest/gtest.h>

#include <cmath>

#include "platform/settings_store.h"
#include "support/window_test.h"

namespace {

using MainWindow = WindowTest;

// A stored value is "port:settings"; what follows a second colon is ignored, and a value without
// a colon gives only the port. Start-up opens no port and runs no timer.
TEST_F(MainWindow, StartsFromTheStoreWithNoPortOpenAndNoTimerRunning) {
    const struct {
        const char *key, *stored, *port, *settings;
    } cases[] = {
        {"IN", "", "1", "19200,N,8,1"},
        {"IN", "3:1200,O,8,1", "3", "1200,O,8,1"},
        {"IN", "1:9600,N,8,1:x", "1", "9600,N,8,1"},
        {"IN", "7", "7", "19200,N,8,1"},
        {"OUT", "", "2", "4800,N,8,1"},
        {"OUT", "4:9600,E,7,2", "4", "9600,E,7,2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        closeWindow();
        settings_store::setPortConfiguration(c.key, QString::fromLatin1(c.stored));
        const bool input = QLatin1String(c.key) == QLatin1String("IN");
        EXPECT_EQ(text(input ? "Text3" : "Text5"), c.port);
        EXPECT_EQ(text(input ? "Text2" : "Text6"), c.settings);
        EXPECT_TRUE(journal.filter(" open").isEmpty());
    }
    for (const char* timer : {"timer_sst", "Timer2", "Timer3", "Timer4"}) {
        EXPECT_FALSE(find<Timer>(timer)->isEnabled()) << timer;
    }
}

TEST_F(MainWindow, ClosingClosesTheOpenPortsOutputFirst) {
    for (const char* name : {"Com_SST", "Com_in", "com_out"}) {
        ASSERT_FALSE(find<SerialPort>(name)->open().has_value());
    }
    journal.clear();
    window().close();
    EXPECT_EQ(journal, QStringList({"com_out close", "Com_in close", "Com_SST close"}));
}

TEST_F(MainWindow, CalculatorShowsSalinityAndSoundVelocity) {
    const struct {
        QLocale locale;
        const char *pressure, *temperature, *conductivity, *salinity, *sound;
    } cases[] = {
        {QLocale::c(), "0", "15", "42.914", "35.0000", "1506.66"},
        {QLocale::c(), "1000", "20", "50", "36.3576", "1539.63"},
        {QLocale::c(), "10000", "40", "81.025537174", "40.0000", "1732"},
        // Salinity below zero: sound velocity keeps its earlier value (0).
        {QLocale::c(), "0", "0", "0", "-0.0019", "0"},
        // Conductivity beyond any sea: salinity keeps its earlier value (0).
        {QLocale::c(), "0", "15", "1e300", "-", "1465.93"},
        {QLocale(QLocale::German, QLocale::Germany), "0", "15", "42,914", "35,0000", "1506,66"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.conductivity);
        closeWindow();
        QLocale::setDefault(c.locale);
        type("tx_pre", c.pressure);
        type("tx_temp", c.temperature);
        type("tx_cond", c.conductivity);
        click("Command8");
        EXPECT_EQ(text("lb_salinity"), c.salinity);
        EXPECT_EQ(text("Label24"), c.sound);
        EXPECT_TRUE(std::isfinite(window().salinity) && std::isfinite(window().soundvelocity));
        EXPECT_EQ(text("lb_temp"), "-") << "the calculator leaves the reading labels alone";
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(MainWindow, CalculatorRefusesABadBoxAndChangesNothing) {
    type("tx_pre", "0");
    type("tx_temp", "15");
    type("tx_cond", "42.914");
    click("Command8");
    EXPECT_DOUBLE_EQ(window().conductivity, 4.2914);
    EXPECT_NEAR(window().salinity, 34.99999992, 1e-7);
    EXPECT_DOUBLE_EQ(window().soundvelocity, 1506.66);
    EXPECT_EQ(text("lb_sound"), "1506.66");

    type("tx_pre", "100");
    type("tx_temp", "warm");
    click("Command8");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("temp"))
        << dialogs.messages[0].text.toStdString();
    EXPECT_DOUBLE_EQ(window().pressure, 0) << "no half-updated reading";
    EXPECT_DOUBLE_EQ(window().temperature, 15);
    EXPECT_EQ(text("Label24"), "1506.66");

    type("tx_temp", "");
    click("Command8");
    EXPECT_EQ(dialogs.messages.size(), 2u) << "an empty box is not a number either";
}

// The test entry takes 15 degrees and 1 bar; a negative conductivity keeps the earlier salinity.
TEST_F(MainWindow, TestEntryFillsTheReadingLabels) {
    const struct {
        const char *conductivity, *salinity, *sound;
    } cases[] = {
        {"1", "7.1156", "1474.49"},
        {"0", "0.0080", "1466.1"},
        {"-1", "0.0080", "1466.1"},
    };
    for (const auto& c : cases) {
        type("Text1", c.conductivity);
        click("Command1");
        EXPECT_EQ(text("lb_temp"), "15");
        EXPECT_EQ(text("lb_press"), "1");
        EXPECT_EQ(text("lb_con"), c.conductivity);
        EXPECT_EQ(text("lb_salinity"), c.salinity);
        EXPECT_EQ(text("lb_sound"), c.sound);
    }
}

}  // namespace
