#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/frm_main.h"
#include "input/frm_sst.h"
#include "input/sea_sun_block_text.h"
#include "input/sea_sun_encoder.h"
#include "output/telegrams.h"
#include "platform/number_text.h"
#include "platform/qt_serial_port.h"
#include "seawater/salinity.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"
#include "support/pty.h"

namespace {

using sea_sun::Channel;

class SeaSunWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English));
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) -> SerialPort* {
            return new FakePort(parent, &journal);
        };
        window = std::make_unique<frm_main>(services);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    template <typename T>
    T* control(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* label) { return control<QLabel>(label)->text(); }
    FakePort& seaSunPort() { return *static_cast<FakePort*>(control<SerialPort>("Com_SST")); }
    void tick() { emit control<Timer>("timer_sst")->tick(); }
    void clickOption(const char* name) {
        auto* option = control<QRadioButton>(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    QList<frm_sst*> coefficientWindows() {
        return window->findChildren<frm_sst*>(Qt::FindDirectChildrenOnly);
    }

    FakeDialogs dialogs;
    QStringList journal;
    Services services;
    std::unique_ptr<frm_main> window;
};

// Nineteen filler bytes, then a word of each channel, so every word ends at index 21 or later.
QByteArray reading(int pressureCount, int temperatureCount, int conductivityCount) {
    return QByteArray(19, '\0') + sea_sun::encodeWord(Channel::Pressure, pressureCount) +
           sea_sun::encodeWord(Channel::Temperature, temperatureCount) +
           sea_sun::encodeWord(Channel::Conductivity, conductivityCount);
}

TEST_F(SeaSunWindow, TickWithThePortClosedChangesNothing) {
    control<QPlainTextEdit>("Text4")->setPlainText("before");
    seaSunPort().incoming = reading(3227, 37681, 39400);
    tick();
    EXPECT_EQ(control<QPlainTextEdit>("Text4")->toPlainText(), "before");
    EXPECT_EQ(seaSunPort().incoming.size(), 28);
    for (const char* label : {"lb_press", "lb_temp", "lb_con", "lb_salinity", "lb_sound"}) {
        EXPECT_EQ(text(label), "-") << label;
    }
    EXPECT_EQ(window->pressure, 0);
    EXPECT_EQ(window->salinity, 0);
}

TEST_F(SeaSunWindow, TickDecodesTheWaitingBlockIntoFieldsAndLabels) {
    seaSunPort().open();
    // Too short for a word: shown, but salinity and sound velocity are not computed.
    seaSunPort().incoming = QByteArray(2, '\0');
    tick();
    EXPECT_EQ(control<QPlainTextEdit>("Text4")->toPlainText(),
              QString(QChar::ReplacementCharacter));
    EXPECT_EQ(text("lb_salinity"), "-");

    const QByteArray block = reading(3227, 37681, 39400);
    seaSunPort().incoming = block;
    tick();

    EXPECT_TRUE(seaSunPort().incoming.isEmpty());
    EXPECT_EQ(control<QPlainTextEdit>("Text4")->toPlainText(), sea_sun::blockText(block));
    EXPECT_EQ(text("lb_press"), "1.521");
    EXPECT_EQ(text("lb_temp"), "20.000");
    EXPECT_EQ(text("lb_con"), "3.999");
    EXPECT_EQ(window->pressure, 1.5213549488635119);
    EXPECT_EQ(window->temperature, sea_sun::convert(Channel::Temperature, 37681));
    EXPECT_EQ(window->conductivity, 3.9994832051424405);
    EXPECT_EQ(window->salinity, *seawater::practicalSalinity(
                                    window->conductivity, window->temperature, window->pressure));
    EXPECT_NE(text("lb_salinity"), "-");
    EXPECT_GT(window->soundvelocity, 1400);
    EXPECT_NE(text("lb_sound"), "-");

    // A word outside its window and nothing else: the label and the field keep the last value.
    seaSunPort().incoming = reading(3315, 37681, 39400);
    tick();
    EXPECT_EQ(text("lb_press"), "1.521");
    EXPECT_EQ(window->pressure, 1.5213549488635119);

    // Nothing received: the incoming-data box empties, the reading stays.
    const QString salinityShown = text("lb_salinity");
    tick();
    EXPECT_EQ(control<QPlainTextEdit>("Text4")->toPlainText(), "");
    EXPECT_EQ(text("lb_temp"), "20.000");
    EXPECT_EQ(text("lb_salinity"), salinityShown);
}

TEST_F(SeaSunWindow, ChoosingSeaAndSunOffersItsSettingsAndOneCoefficientWindow) {
    control<QLineEdit>("Text2")->setText("9600,N,8,1");
    clickOption("op_sst");
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), "1200,O,8,1");
    ASSERT_EQ(coefficientWindows().size(), 1);
    frm_sst* first = coefficientWindows().front();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "Sea & Sun Calibration Coefficents");

    clickOption("op_kestrane");
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), "1200,O,8,1");
    clickOption("op_sst");
    clickOption("op_sst");
    EXPECT_EQ(coefficientWindows(), QList<frm_sst*>{first});

    // Closing discards the window and what was typed into it.
    first->findChild<QLineEdit*>("Text1")->setText("typed");
    first->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return coefficientWindows().isEmpty(); }));
    clickOption("op_sst");
    ASSERT_EQ(coefficientWindows().size(), 1);
    EXPECT_TRUE(coefficientWindows().front()->isVisible());
    EXPECT_EQ(coefficientWindows().front()->findChild<QLineEdit*>("Text1")->text(), "Text1");
}

TEST(CoefficientWindow, BoxesInTwoColumns) {
    frm_sst window;
    const char* left[] = {"Text1", "Text2", "Text3"};
    const char* right[] = {"Text4", "Text5", "Text6"};
    for (int row = 0; row < 3; ++row) {
        auto* l = window.findChild<QLineEdit*>(left[row]);
        auto* r = window.findChild<QLineEdit*>(right[row]);
        ASSERT_TRUE(l && r);
        EXPECT_EQ(l->text(), left[row]);
        EXPECT_EQ(r->text(), right[row]);
        EXPECT_EQ(l->y(), r->y());
        EXPECT_LT(l->x(), r->x());
        if (row > 0) {
            EXPECT_GT(l->y(), window.findChild<QLineEdit*>(left[row - 1])->y());
        }
    }
}

// The simulated instrument streams its words at line speed into a pseudo-terminal; the window,
// with real serial ports, polls them once a second and sends the sound velocity on.
TEST(SimulatedSeaSun, ReadingsReachTheFieldsLabelsAndTelegram) {
    constexpr int kPort = 4;
    constexpr int kOutputPort = 5;
    test_support::PtyDevice echosounder(kOutputPort);
    ASSERT_TRUE(echosounder.isOpen());
    QLocale::setDefault(QLocale(QLocale::English));
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ctd"));
    QProcess sim;
    sim.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
              {"--mode", "seasun", "--link", link, "--pressure", "1.2", "--temperature", "18.5",
               "--conductivity", "45"});
    ASSERT_TRUE(sim.waitForStarted());
    const std::shared_ptr<void> cleanUp(nullptr, [&](void*) {
        sim.terminate();
        sim.waitForFinished();
        test_support::mapPort(kPort, QString());
        test_support::mapPort(kOutputPort, QString());
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel")
            .remove(QStringLiteral("COM_Port"));
        QLocale::setDefault(QLocale::system());
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }, 20000));
    test_support::mapPort(kPort, link);

    FakeDialogs dialogs;
    frm_main window(Services{&dialogs, [](QObject* p) { return new QtSerialPort(p); }});
    window.findChild<QRadioButton*>("op_sst")->click();
    window.findChild<QLineEdit*>("Text3")->setText(QString::number(kPort));
    window.findChild<QPushButton*>("Command3")->click();
    ASSERT_TRUE(window.findChild<SerialPort*>("Com_SST")->isOpen());

    const auto expected = [](Channel channel, double value) {
        return sea_sun::convert(channel, sea_sun::rawCountFor(channel, value));
    };
    const double pressure = expected(Channel::Pressure, 1.2);
    const double temperature = expected(Channel::Temperature, 18.5);
    const double conductivity = expected(Channel::Conductivity, 4.5);
    const auto shows = [&](const char* label, double value) {
        return window.findChild<QLabel*>(label)->text() ==
               number_text::formatPattern(value, u"0.000");
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return shows("lb_press", pressure) && shows("lb_temp", temperature) &&
                   shows("lb_con", conductivity);
        },
        20000));
    EXPECT_EQ(window.pressure, pressure);
    EXPECT_EQ(window.temperature, temperature);
    EXPECT_EQ(window.conductivity, conductivity);
    EXPECT_EQ(window.salinity, *seawater::practicalSalinity(conductivity, temperature, pressure));
    EXPECT_GT(window.soundvelocity, 1400);
    EXPECT_FALSE(window.findChild<QPlainTextEdit*>("Text4")->toPlainText().isEmpty());

    window.findChild<QLineEdit*>("Text5")->setText(QString::number(kOutputPort));
    window.findChild<QPushButton*>("Command4")->click();
    const QByteArray telegram = telegrams::appMicrosystems(window.soundvelocity, QLocale());
    EXPECT_TRUE(echosounder.pty()
                    .readUntil([&](const QByteArray& sent) { return sent.contains(telegram); })
                    .contains(telegram));
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
