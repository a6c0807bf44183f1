#include <gtest/gtest.h>

#include <QChartView>
#include <QCheckBox>
#include <QXYSeries>

#include "platform/settings_store.h"
#include "support/window_test.h"

namespace {

using MainWindow = WindowTest;

// A stored value is "port:settings"; what follows a second colon is ignored, and a value without
// a colon gives only the port. Start-up opens no port, runs no timer and has nothing to tell.
TEST_F(MainWindow, StartsFromTheStoreWithNoPortOpenAndNoTimerRunning) {
    const struct {
        const char *stored, *port, *settings;
    } cases[] = {{"", "1", "19200,N,8,1"},
                 {"3:1200,O,8,1", "3", "1200,O,8,1"},
                 {"1:9600,N,8,1:x", "1", "9600,N,8,1"},
                 {"7", "7", "19200,N,8,1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        closeWindow();
        ASSERT_TRUE(settings_store::setPortConfiguration(settings_store::kInputKey, c.stored).ok());
        EXPECT_EQ(text("Text3"), c.port);
        EXPECT_EQ(text("Text2"), c.settings);
        EXPECT_TRUE(journal.filter(" open").isEmpty());
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialogs.messages.empty());
    }
    EXPECT_EQ(text("Text5"), "2");
    EXPECT_EQ(text("Text6"), "4800,N,8,1");
    for (const char* timer : {"timer_sst", "Timer2", "Timer3", "Timer4"}) {
        EXPECT_FALSE(find<Timer>(timer)->isEnabled()) << timer;
    }
}

// The client area keeps the form's height whatever the decorations; a resize that got through
// (no window manager to enforce the size hints) is put back, and the width stays free.
TEST_F(MainWindow, HoldsTheFormsHeightWithTheWidthFree) {
    EXPECT_EQ(window().height(), 533);
    window().setMinimumHeight(0);
    window().setMaximumHeight(QWIDGETSIZE_MAX);
    window().resize(700, 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window().height() == 533; }));
    EXPECT_EQ(window().width(), 700);
    EXPECT_EQ(window().maximumHeight(), 533);
}

// Pressure is typed in dbar and conductivity in mS/cm, in the user's locale; a box that holds no
// number is refused with nothing changed.
TEST_F(MainWindow, CalculatorShowsSalinityAndSoundVelocity) {
    const struct {
        QLocale locale;
        const char *pressure, *temperature, *conductivity, *salinity, *sound;
    } cases[] = {
        {QLocale::c(), "1000", "20", "50", "36.3576", "1539.63"},
        {QLocale(QLocale::German, QLocale::Germany), "0", "15", "42,914", "35,0000", "1506,66"},
        {QLocale::c(), "0", "15", "42.914", "35.0000", "1506.66"},
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
        EXPECT_EQ(text("lb_temp"), "-") << "the calculator leaves the reading labels alone";
        EXPECT_TRUE(dialogs.messages.empty());
    }
    EXPECT_DOUBLE_EQ(window().station().conductivity, 4.2914);
    EXPECT_EQ(text("lb_sound"), "1506.66");

    for (const char* refused : {"warm", ""}) {
        type("tx_pre", "100");
        type("tx_temp", refused);
        click("Command8");
        ASSERT_EQ(dialogs.messages.size(), 1u) << refused;
        EXPECT_TRUE(dialogs.messages[0].text.contains("temp")) << refused;
        dialogs.messages.clear();
        EXPECT_DOUBLE_EQ(window().station().pressure, 0) << "no half-updated reading";
        EXPECT_DOUBLE_EQ(window().station().temperature, 15);
        EXPECT_EQ(text("Label24"), "1506.66");
    }
}

// The test entry takes 15 degrees and 1 bar; a negative conductivity keeps the earlier salinity.
TEST_F(MainWindow, TestEntryFillsTheReadingLabels) {
    for (const char* conductivity : {"1", "-1"}) {
        SCOPED_TRACE(conductivity);
        type("Text1", conductivity);
        click("Command1");
        EXPECT_EQ(text("lb_temp"), "15");
        EXPECT_EQ(text("lb_press"), "1");
        EXPECT_EQ(text("lb_con"), conductivity);
        EXPECT_EQ(text("lb_salinity"), "7.1156");
        EXPECT_EQ(text("lb_sound"), "1474.49");
    }
}

// The window with a steady clock that only the test moves.
class TrustWindow : public WindowTest {
protected:
    TrustWindow() {
        services.steadyClock = [this] { return nowMs; };
    }

    // Time passes and the window's once-a-second refresh comes.
    void pass(qint64 ms) {
        nowMs += ms;
        emit find<Timer>("reading_age")->tick();
    }
    // How many of the five value labels are grey.
    int greyValues() {
        int grey = 0;
        for (const char* name : {"lb_temp", "lb_con", "lb_press", "lb_salinity", "lb_sound"}) {
            grey += find<QLabel>(name)->palette().color(QPalette::WindowText) !=
                    window().palette().color(QPalette::WindowText);
        }
        return grey;
    }
    QString status() { return text("lb_in_status"); }

    qint64 nowMs = 1'000'000;
};

// Past the stale limit the status line says so and the values turn grey, until the next record;
// it counts rejected records. Line noise that would grow the incoming-data box without bound is
// trimmed from its front, and the records after it are shown.
TEST_F(TrustWindow, SilencePastTheLimitGreysTheValuesUntilTheNextRecord) {
    connectInput();
    pass(6'000);
    EXPECT_EQ(status(), "No reading for 6 s");
    EXPECT_EQ(greyValues(), 5);
    record("0035.008", "-00.750", "15.500");
    EXPECT_EQ(greyValues(), 0);
    record("ABC", "-01.000", "16.000");
    EXPECT_EQ(status(), "Connected: COM1 19200,N,8,1, 1 record rejected");
    receive(QByteArray(256 * 1024, 'x') + "END\r\n" + recordLine("30", "10", "7.5"));
    EXPECT_EQ(text("lb_temp"), "7.5");
    EXPECT_TRUE(text("Text4").remove(u'\n').contains("xEND"));
    EXPECT_LT(text("Text4").size(), 128 * 1024);
}

// Both options come back at the next start; a stored limit that cannot be used is named at
// start-up and gives way to the default, and a typed limit that is no positive number is
// refused with the one in force kept.
TEST_F(TrustWindow, StaleLimitAndFreshOnlyAreRemembered) {
    ASSERT_TRUE(settings_store::setOption(settings_store::kStaleAfter, QStringLiteral("-3")).ok());
    window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    EXPECT_TRUE(dialogs.messages[0].text.contains("StaleAfter"));
    EXPECT_EQ(text("tx_stale"), "5");
    EXPECT_FALSE(find<QCheckBox>("ck_fresh_only")->isChecked());

    auto* limit = find<QLineEdit>("tx_stale");
    for (const char* refused : {"0", "soon", ""}) {
        dialogs.messages.clear();
        limit->setText(refused);
        QTest::keyClick(limit, Qt::Key_Return);
        ASSERT_EQ(dialogs.messages.size(), 1u) << refused;
        EXPECT_TRUE(dialogs.messages[0].text.contains("positive number")) << refused;
        EXPECT_EQ(limit->text(), "5");
    }
    limit->setText("2.5");
    QTest::keyClick(limit, Qt::Key_Return);
    find<QCheckBox>("ck_fresh_only")->click();
    connectInput();
    pass(2'501);
    EXPECT_EQ(status(), "No reading for 2 s");

    closeWindow();
    dialogs.messages.clear();
    EXPECT_EQ(text("tx_stale"), "2.5");
    EXPECT_TRUE(find<QCheckBox>("ck_fresh_only")->isChecked());
    find<QCheckBox>("ck_fresh_only")->click();
    closeWindow();
    EXPECT_FALSE(find<QCheckBox>("ck_fresh_only")->isChecked());
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.messages.empty());
}

// Only fresh instrument readings reach the trend; the window is a view of a history that stays
// when it is closed, and a silence past the stale limit breaks the line.
TEST_F(TrustWindow, TrendShowsTheReadingsAgainAfterReopening) {
    // The points of the sound velocity's non-empty series: lines first, then the dots.
    const auto plotted = [&] {
        QList<qsizetype> counts;
        auto* trend = window().findChild<QWidget*>("frm_trend");
        if (!trend || !trend->isVisible()) {
            return counts;
        }
        for (QAbstractSeries* series : trend->findChild<QChartView*>()->chart()->series()) {
            const auto* xy = static_cast<QXYSeries*>(series);
            if (series->attachedAxes().last()->titleText().startsWith("Sound") && xy->count()) {
                counts << xy->count();
            }
        }
        return counts;
    };
    connectInput();
    for (int i = 0; i < 4; ++i) {
        record("0042.914", "000.000", "15.000");
        pass(1'000);
    }
    pass(6'000);
    record("0042.914", "000.000", "15.500");
    pass(1'000);
    record("1e20", "000.000", "15.000");
    pass(1'000);
    click("Command1");
    click("cmd_trend");
    EXPECT_EQ(plotted(), QList<qsizetype>({4, 1}));
    window().findChild<QWidget*>("frm_trend")->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(plotted().isEmpty());
    click("cmd_trend");
    EXPECT_EQ(plotted(), QList<qsizetype>({4, 1}));
}

}  // namespace
