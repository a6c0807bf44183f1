#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <cmath>

#include "app/frm_main.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"

namespace {

void storePortConfiguration(const char* key, const QString& value) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel")
        .setValue(QStringLiteral("COM_Port/") + key, value);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
    }

    // Created on demand, so a test can prepare the settings store first.
    frm_main& window() {
        if (!window_) {
            window_ = std::make_unique<frm_main>(services);
        }
        return *window_;
    }
    QString text(const char* name) {
        if (auto* edit = window().findChild<QLineEdit*>(name)) {
            return edit->text();
        }
        return window().findChild<QLabel*>(name)->text();
    }
    void type(const char* name, const QString& value) {
        window().findChild<QLineEdit*>(name)->setText(value);
    }
    void click(const char* name) { window().findChild<QPushButton*>(name)->click(); }

    FakeDialogs dialogs;
    QStringList journal;
    Services services;
    std::unique_ptr<frm_main> window_;
};

TEST_F(WindowTest, StartsWithDesignDefaults) {
    EXPECT_EQ(window().windowTitle(), "Sondrel  Converter  -  Version-1.3.1");
    EXPECT_EQ(text("Text3"), "1");
    EXPECT_EQ(text("Text2"), "19200,N,8,1");
    EXPECT_EQ(text("Text5"), "2");
    EXPECT_EQ(text("Text6"), "4800,N,8,1");
    EXPECT_EQ(text("tx_timer"), "500");
    EXPECT_EQ(text("Text7"), "1");
    EXPECT_EQ(text("Text1"), "1");
    EXPECT_EQ(text("Label18"), "Sampling Interval is: 1 sec.");
    EXPECT_EQ(text("lb_nnn"), "Data logged: -");
    for (const char* label : {"lb_temp", "lb_con", "lb_press", "lb_salinity", "lb_sound"}) {
        EXPECT_EQ(text(label), "-") << label;
        EXPECT_TRUE(window().findChild<QLabel*>(label)->font().bold()) << label;
    }
    EXPECT_TRUE(window().findChild<QRadioButton*>("op_kestrane")->isChecked());
    EXPECT_TRUE(window().findChild<QRadioButton*>("op_micro")->isChecked());
    EXPECT_EQ(window().findChild<QLineEdit*>("Text2")->toolTip(),
              "Baud-Rate,Parity,Data-Bit,Stop-Bit");
    for (const char* timer : {"timer_sst", "Timer2", "Timer3", "Timer4"}) {
        EXPECT_FALSE(window().findChild<Timer*>(timer)->isEnabled()) << timer;
    }
    EXPECT_EQ(window().findChild<Timer*>("Timer3")->interval(), 200);
    EXPECT_TRUE(journal.isEmpty()) << "start-up opens no port";
    EXPECT_FALSE(window().windowFlags() & Qt::WindowMaximizeButtonHint);
}

struct RestoreCase {
    const char* stored;
    const char* port;
    const char* settings;
};

class RestoreTest : public WindowTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreTest, FillsTheInputBoxesFromTheStore) {
    storePortConfiguration("IN", GetParam().stored);
    EXPECT_EQ(text("Text3"), GetParam().port);
    EXPECT_EQ(text("Text2"), GetParam().settings);
    EXPECT_TRUE(window().findChild<QRadioButton*>("op_kestrane")->isChecked());
}

INSTANTIATE_TEST_SUITE_P(StoredValues, RestoreTest,
                         ::testing::Values(RestoreCase{"3:1200,O,8,1", "3", "1200,O,8,1"},
                                           RestoreCase{"1:9600,N,8,1:x", "1", "9600,N,8,1"},
                                           RestoreCase{"7", "7", "19200,N,8,1"},
                                           RestoreCase{"", "1", "19200,N,8,1"}));

TEST_F(WindowTest, FillsTheOutputBoxesFromTheStore) {
    storePortConfiguration("OUT", "4:9600,E,7,2");
    EXPECT_EQ(text("Text5"), "4");
    EXPECT_EQ(text("Text6"), "9600,E,7,2");
}

TEST_F(WindowTest, HoldsTheHeightAndLeavesTheWidthFree) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    const int held = window().height();
    window().resize(640, held + 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().height(), held);
    EXPECT_EQ(window().width(), 640);
    EXPECT_TRUE(window().findChild<QPushButton*>("Command8")->isVisibleTo(&window()));
    const QWidget* testEntry = window().findChild<QPushButton*>("Command1");
    EXPECT_GE(testEntry->geometry().top(), window().height()) << "the test entry never shows";
}

TEST_F(WindowTest, ClosingClosesTheOpenPortsOutputFirst) {
    for (const char* name : {"Com_SST", "Com_in", "com_out"}) {
        ASSERT_FALSE(window().findChild<SerialPort*>(name)->open().has_value());
    }
    journal.clear();
    window().close();
    EXPECT_EQ(journal, QStringList({"com_out close", "Com_in close", "Com_SST close"}));
}

struct CalculatorCase {
    const char* pressure;
    const char* temperature;
    const char* conductivity;
    const char* salinity;
    const char* sound;
};

class CalculatorTest : public WindowTest, public ::testing::WithParamInterface<CalculatorCase> {};

TEST_P(CalculatorTest, ShowsSalinityAndSoundVelocity) {
    const CalculatorCase& c = GetParam();
    type("tx_pre", c.pressure);
    type("tx_temp", c.temperature);
    type("tx_cond", c.conductivity);
    click("Command8");
    EXPECT_EQ(text("lb_salinity"), c.salinity);
    EXPECT_EQ(text("Label24"), c.sound);
    EXPECT_EQ(text("lb_temp"), "-") << "the calculator leaves the reading labels alone";
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, CalculatorTest,
    ::testing::Values(CalculatorCase{"0", "15", "42.914", "35.0000", "1506.66"},
                      CalculatorCase{"1000", "20", "50", "36.3576", "1539.63"},
                      CalculatorCase{"10000", "40", "81.025537174", "40.0000", "1732"},
                      // Salinity below zero: sound velocity keeps its earlier value (0).
                      CalculatorCase{"0", "0", "0", "-0.0019", "0"}));

TEST_F(WindowTest, CalculatorStoresTheReadingInTheFields) {
    type("tx_pre", "0");
    type("tx_temp", "15");
    type("tx_cond", "42.914");
    click("Command8");
    EXPECT_DOUBLE_EQ(window().pressure, 0);
    EXPECT_DOUBLE_EQ(window().conductivity, 4.2914);
    EXPECT_DOUBLE_EQ(window().temperature, 15);
    EXPECT_NEAR(window().salinity, 34.99999992, 1e-7);
    EXPECT_DOUBLE_EQ(window().soundvelocity, 1506.66);
    EXPECT_EQ(text("lb_sound"), "1506.66");
}

TEST_F(WindowTest, CalculatorRefusesABadBoxAndChangesNothing) {
    type("tx_pre", "0");
    type("tx_temp", "15");
    type("tx_cond", "42.914");
    click("Command8");
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

TEST_F(WindowTest, CalculatorReadsTheUsersDecimalComma) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type("tx_pre", "0");
    type("tx_temp", "15");
    type("tx_cond", "42,914");
    click("Command8");
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(text("lb_salinity"), "35,0000");
    EXPECT_EQ(text("Label24"), "1506,66");
}

struct TestEntryCase {
    const char* conductivity;
    const char* salinity;
    const char* sound;
};

class TestEntryTest : public WindowTest, public ::testing::WithParamInterface<TestEntryCase> {};

TEST_P(TestEntryTest, FillsTheReadingLabels) {
    type("Text1", GetParam().conductivity);
    click("Command1");
    EXPECT_EQ(text("lb_temp"), "15");
    EXPECT_EQ(text("lb_press"), "1");
    EXPECT_EQ(text("lb_con"), GetParam().conductivity);
    EXPECT_EQ(text("lb_salinity"), GetParam().salinity);
    EXPECT_EQ(text("lb_sound"), GetParam().sound);
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, TestEntryTest,
                         ::testing::Values(TestEntryCase{"1", "7.1156", "1474.49"},
                                           TestEntryCase{"0", "0.0080", "1466.1"},
                                           TestEntryCase{"4.2914", "34.9959", "1506.82"}));

TEST_F(WindowTest, NegativeConductivityKeepsTheEarlierSalinity) {
    type("Text1", "4.2914");
    click("Command1");
    const double salinity = window().salinity;
    type("Text1", "-1");
    click("Command1");
    EXPECT_DOUBLE_EQ(window().salinity, salinity);
    EXPECT_EQ(text("lb_salinity"), "34.9959");
    EXPECT_EQ(text("lb_con"), "-1");
}

TEST_F(WindowTest, NonFiniteInputsLeaveTheFieldsAlone) {
    type("tx_pre", "0");
    type("tx_temp", "15");
    type("tx_cond", "1e300");
    click("Command8");
    EXPECT_TRUE(std::isfinite(window().salinity));
    EXPECT_TRUE(std::isfinite(window().soundvelocity));
    EXPECT_EQ(text("lb_salinity"), "-");
}

}  // namespace
