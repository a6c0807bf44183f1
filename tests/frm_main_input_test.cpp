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
#include "platform/qt_serial_port.h"
#include "platform/settings_store.h"
#include "support/fake_dialogs.h"
#include "support/pty.h"

namespace {

using test_support::PtyDevice;

constexpr int kPort = 3;
constexpr int kMissingPort = 9;
const QByteArray kExample = "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC";

QByteArray record(const char* conductivity, const char* pressure, const char* temperature) {
    return QByteArray(conductivity) + "\tMS/CM\t" + pressure + "\tDBAR\t" + temperature + "\tC";
}

// The next test in this process starts from an empty store.
void forgetStore() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel");
    store.remove(QStringLiteral("COM_Port"));
    store.remove(QStringLiteral("Ports"));
}

// The real window with real serial ports, reading from a pseudo-terminal mapped to kPort.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.isOpen());
        services.dialogs = &dialogs;
        services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };
        window = std::make_unique<frm_main>(services);
        type("Text3", QString::number(kPort));
    }
    void TearDown() override {
        window.reset();
        forgetStore();
    }

    template <typename T>
    T* find(const char* name) {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    QString incoming() { return find<QPlainTextEdit>("Text4")->toPlainText(); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    void startConnection() { find<QPushButton>("Command3")->click(); }
    SerialPort* port(const char* name) { return find<SerialPort>(name); }

    bool send(const QByteArray& bytes) { return device.pty().write(bytes); }
    bool waitForLabel(const char* name, const QString& text) {
        return QTest::qWaitFor([&] { return label(name) == text; });
    }
    bool waitForIncoming(const QString& text) {
        return QTest::qWaitFor([&] { return incoming().contains(text); });
    }
    // Connects and reads the example record, so that the fields hold known values.
    void connectAndReadExample() {
        startConnection();
        ASSERT_TRUE(port("Com_in")->isOpen());
        ASSERT_TRUE(send("\r\n" + kExample + "\r\n"));
        ASSERT_TRUE(waitForLabel("lb_temp", "15.5"));
    }

    PtyDevice device{kPort};
    FakeDialogs dialogs;
    Services services;
    std::unique_ptr<frm_main> window;
};

TEST_F(InputTest, ExampleRecordIsShownAndComputed) {
    startConnection();
    ASSERT_TRUE(port("Com_in")->isOpen());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), "3:19200,N,8,1");

    ASSERT_TRUE(send("TAIL\r"));
    ASSERT_TRUE(waitForIncoming("TAIL"));
    ASSERT_TRUE(send("\n" + kExample + "\r\n"));
    ASSERT_TRUE(waitForLabel("lb_temp", "15.5"));
    EXPECT_EQ(label("lb_con"), "3.5008");
    EXPECT_EQ(label("lb_press"), "-0.75");
    EXPECT_DOUBLE_EQ(window->conductivity, 3.5008);
    EXPECT_DOUBLE_EQ(window->pressure, -0.075);
    EXPECT_DOUBLE_EQ(window->temperature, 15.5);
    EXPECT_GT(window->salinity, 20);
    EXPECT_NE(label("lb_salinity"), "-");
    EXPECT_GT(window->soundvelocity, 1450);
    EXPECT_EQ(label("lb_sound"), QString::number(window->soundvelocity, 'g', 15));
    // One line break per CR LF, even when a piece ends between CR and LF.
    EXPECT_EQ(incoming(), "TAIL\n" + QString::fromLatin1(kExample) + "\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InputTest, EveryRecordOfAPieceIsReadAndTheNewestStays) {
    startConnection();
    ASSERT_TRUE(send("\r\n" + record("30", "10", "1") + "\r\n" + record("31", "20", "2") + "\r\n" +
                     record("32", "30", "3.25") + "\r\n"));
    ASSERT_TRUE(waitForLabel("lb_temp", "3.25"));
    EXPECT_EQ(label("lb_con"), "3.2");
    EXPECT_EQ(label("lb_press"), "30");
}

TEST_F(InputTest, ABadRecordReopensAndOnlyTheNextFramedRecordIsRead) {
    connectAndReadExample();

    ASSERT_TRUE(send(record("ABC", "-01.000", "16.000") + "\r\n"));
    ASSERT_TRUE(waitForIncoming("ABC"));
    EXPECT_DOUBLE_EQ(window->pressure, -0.1) << "pressure is stored before the bad field";
    EXPECT_DOUBLE_EQ(window->conductivity, 3.5008);
    EXPECT_DOUBLE_EQ(window->temperature, 15.5);
    EXPECT_EQ(label("lb_press"), "-0.75");
    EXPECT_TRUE(port("Com_in")->isOpen());

    // The buffer was emptied: this line has no CR LF before it, so it is no record.
    ASSERT_TRUE(send(record("0040.000", "-02.000", "17.000") + "\r\n"));
    ASSERT_TRUE(waitForIncoming("0040.000"));
    EXPECT_EQ(label("lb_temp"), "15.5");

    ASSERT_TRUE(send(record("0041.000", "-03.000", "18.000") + "\r\n"));
    ASSERT_TRUE(waitForLabel("lb_temp", "18"));
    EXPECT_EQ(label("lb_con"), "4.1");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InputTest, AGermanDesktopReadsTheSameNumbersAndShowsDecimalCommas) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::shared_ptr<void> restore(nullptr, [](void*) { QLocale::setDefault(QLocale::c()); });
    startConnection();
    ASSERT_TRUE(send("\r\n" + kExample + "\r\n"));
    ASSERT_TRUE(waitForLabel("lb_temp", "15,5"));
    EXPECT_EQ(label("lb_con"), "3,5008");
    EXPECT_EQ(label("lb_press"), "-0,75");
    EXPECT_DOUBLE_EQ(window->conductivity, 3.5008);
}

TEST_F(InputTest, SeaAndSunOnTheKestranesDeviceFailsSilentlyAndKestraneReadsOn) {
    connectAndReadExample();
    find<QRadioButton>("op_sst")->click();
    type("Text2", "1200,O,8,1");
    startConnection();

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(port("Com_SST")->isOpen());
    EXPECT_FALSE(find<Timer>("timer_sst")->isEnabled());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), "3:1200,O,8,1");
    EXPECT_TRUE(port("Com_in")->isOpen());
    ASSERT_TRUE(send(record("30", "10", "9.5") + "\r\n"));
    EXPECT_TRUE(waitForLabel("lb_temp", "9.5"));
}

TEST_F(InputTest, StartingTwiceReopensTheSamePort) {
    connectAndReadExample();
    startConnection();
    EXPECT_TRUE(port("Com_in")->isOpen());
    EXPECT_TRUE(dialogs.messages.empty());
    // The receive buffer outlives the reopen: the line end of the last record frames this one.
    ASSERT_TRUE(send(record("30", "10", "9.5") + "\r\n"));
    EXPECT_TRUE(waitForLabel("lb_temp", "9.5"));
}

TEST_F(InputTest, AVanishedDeviceIsReopenedWhenItComesBack) {
    connectAndReadExample();
    device.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port("Com_in")->isOpen(); }));

    device.plugIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return port("Com_in")->isOpen(); }, 10000));
    ASSERT_TRUE(send("\r\n" + record("30", "10", "9.5") + "\r\n"));
    EXPECT_TRUE(waitForLabel("lb_temp", "9.5"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InputTest, NoiseWithoutLineEndsKeepsTheDisplayBoundedAndFramingWorks) {
    connectAndReadExample();
    const QByteArray noise(4096, 'x');
    for (int i = 0; i < 64; ++i) {
        ASSERT_TRUE(send(noise));
    }
    ASSERT_TRUE(send("END"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return incoming().remove(u'\n').endsWith("xEND"); }));
    EXPECT_LT(incoming().size(), 128 * 1024);

    ASSERT_TRUE(send("\r\n" + record("30", "10", "9.5") + "\r\n"));
    EXPECT_TRUE(waitForLabel("lb_temp", "9.5"));
}

// The simulated instrument sends drifting values in odd pieces, several records per write and
// a garbage line now and then; the window keeps reading through all of it.
TEST(SimulatedInstrument, FeedsTheWindowThroughGarbageAndOddPieces) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ctd"));
    QProcess sim;
    sim.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
              {"--mode", "kestrane", "--link", link, "--interval", "50", "--drift",
               "--records-per-write", "3", "--chunk", "17", "--chunk-pause", "5", "--garbage-every",
               "7", "--temperature", "12.25"});
    ASSERT_TRUE(sim.waitForStarted());
    const std::shared_ptr<void> stop(nullptr, [&](void*) {
        sim.terminate();
        sim.waitForFinished();
        forgetStore();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }));
    test_support::mapPort(kPort, link);

    FakeDialogs dialogs;
    frm_main window(Services{&dialogs, [](QObject* p) { return new QtSerialPort(p); }});
    window.findChild<QLineEdit*>("Text3")->setText(QString::number(kPort));
    window.findChild<QPushButton*>("Command3")->click();
    auto* incoming = window.findChild<QPlainTextEdit*>("Text4");
    auto* temperature = window.findChild<QLabel*>("lb_temp");

    ASSERT_TRUE(QTest::qWaitFor([&] { return incoming->toPlainText().contains("line noise"); }));
    const QString beforeGarbage = temperature->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return temperature->text() != beforeGarbage; }));
    EXPECT_NEAR(window.temperature, 12.25, 1.0);
    EXPECT_GT(window.soundvelocity, 1400);
    EXPECT_TRUE(dialogs.messages.empty());

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished());
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(link)) << "the simulator removes its link";
}

struct StartFailure {
    const char* name;
    const char* portText;
    const char* settings;
    bool message;
    const char* stored;  // "IN" afterwards
};

class StartFailures : public InputTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(StartFailures, StopAtTheFailingStep) {
    connectAndReadExample();
    test_support::mapPort(kMissingPort, device.path() + "-gone");
    type("Text3", GetParam().portText);
    type("Text2", GetParam().settings);
    startConnection();

    EXPECT_FALSE(port("Com_in")->isOpen());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), GetParam().stored);
    if (GetParam().message) {
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
        EXPECT_EQ(dialogs.messages[0].title, window->windowTitle());
    } else {
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    InputTest, StartFailures,
    ::testing::Values(StartFailure{"NumberWithoutDevice", "9", "19200,N,8,1", true,
                                   "9:19200,N,8,1"},
                      StartFailure{"NumberZero", "0", "19200,N,8,1", true, "3:19200,N,8,1"},
                      StartFailure{"Letters", "abc", "19200,N,8,1", false, "3:19200,N,8,1"},
                      StartFailure{"Beyond16Bits", "70000", "19200,N,8,1", false, "3:19200,N,8,1"},
                      StartFailure{"UnusableSettings", "3", "19200,X,8,1", false, "3:19200,N,8,1"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
