#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "app/frm_main.h"
#include "output/send_lamp.h"
#include "platform/qt_serial_port.h"
#include "platform/settings_store.h"
#include "support/fake_dialogs.h"
#include "support/pty.h"

namespace {

using test_support::PtyDevice;

constexpr int kReceiverPort = 12;

// The reading typed into the calculator: 100 dbar, -1 degree, 29 mS/cm gives 1447.56 m/s.
// Whole numbers read the same in every locale.
const QByteArray kMicro = " 1447.56 \r\n";
const QByteArray kSvp = "1447600010-00010990000\r\n";
const QByteArray kGeneric = "S14476\r\n";

qsizetype lines(const QByteArray& bytes) {
    return bytes.count("\r\n");
}

// The window with real serial ports, sending to a pseudo-terminal that plays the echosounder.
class OutputEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(receiver.isOpen());
        settings_store::setPortConfiguration(settings_store::kOutputKey, QString());
        Services services;
        services.dialogs = &dialogs;
        services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };
        window = std::make_unique<frm_main>(services);
        window->show();
        type("Text5", QString::number(kReceiverPort));
        type("tx_timer", "50");
        type("tx_pre", "100");
        type("tx_temp", "-1");
        type("tx_cond", "29");
        click("Command8");
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        settings_store::setPortConfiguration(settings_store::kOutputKey, storedBefore);
    }

    void type(const char* box, const QString& text) {
        window->findChild<QLineEdit*>(box)->setText(text);
    }
    void click(const char* button) { window->findChild<QPushButton*>(button)->click(); }
    void choose(const char* option) {
        auto* radio = window->findChild<QRadioButton*>(option);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    QByteArray receive(qsizetype count) {
        return receiver.pty().readUntil([count](const QByteArray& b) { return lines(b) >= count; });
    }
    SerialPort* out() const { return window->findChild<SerialPort*>("com_out"); }
    QColor lamp() const { return window->findChild<SendLamp*>("Shape1")->color(); }

    const QString storedBefore = settings_store::portConfiguration(settings_store::kOutputKey);
    PtyDevice receiver{kReceiverPort};
    FakeDialogs dialogs;
    std::unique_ptr<frm_main> window;
};

struct Format {
    const char* name;
    const char* option;
    QLocale locale;
    QByteArray telegram;
};

class OutputFormatTest : public OutputEndToEndTest, public ::testing::WithParamInterface<Format> {};

TEST_P(OutputFormatTest, EveryTickSendsTheExactTelegram) {
    QLocale::setDefault(GetParam().locale);
    choose(GetParam().option);
    click("Command4");
    // Nothing leaves before the first tick.
    EXPECT_TRUE(receiver.pty().readAvailable().isEmpty());
    const QByteArray received = receive(3);
    ASSERT_GE(lines(received), 3);
    EXPECT_EQ(received, GetParam().telegram.repeated(lines(received)));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, OutputFormatTest,
    ::testing::Values(Format{"AppMicrosystems", "op_micro", QLocale::c(), kMicro},
                      Format{"AppMicrosystemsDecimalComma", "op_micro",
                             QLocale(QLocale::German, QLocale::Germany), " 1447,56 \r\n"},
                      Format{"Svp20", "op_ssv", QLocale::c(), kSvp},
                      Format{"Svp20DecimalComma", "op_ssv",
                             QLocale(QLocale::German, QLocale::Germany), kSvp},
                      Format{"Generic", "op_generic", QLocale::c(), kGeneric}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputEndToEndTest, ANewFormatTakesEffectAtTheNextTick) {
    click("Command4");
    const QByteArray before = receive(1);
    choose("op_ssv");
    const QByteArray after = receive(2);
    EXPECT_EQ(before, kMicro.repeated(lines(before)));
    ASSERT_GE(lines(after), 2);
    EXPECT_EQ(after, kSvp.repeated(lines(after)));
}

TEST_F(OutputEndToEndTest, APortNumberWithoutDeviceAsksForAnother) {
    constexpr int kMissingPort = 13;
    test_support::mapPort(kMissingPort, receiver.path() + QStringLiteral("-absent"));
    const std::shared_ptr<void> unmap(
        nullptr, [](void*) { test_support::mapPort(kMissingPort, QString()); });
    type("Text5", QString::number(kMissingPort));
    click("Command4");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, window->windowTitle());
    EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
    EXPECT_FALSE(out()->isOpen());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kOutputKey), "13:4800,N,8,1");
}

TEST_F(OutputEndToEndTest, AVanishedReceiverThatComesBackGetsTheTelegramsAgain) {
    click("Command4");
    ASSERT_EQ(receive(1).left(kMicro.size()), kMicro);

    receiver.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !out()->isOpen(); }));
    EXPECT_EQ(lamp(), SendLamp::kIdle);

    receiver.plugIn();
    ASSERT_TRUE(receiver.isOpen());
    const QByteArray resumed = receive(2);
    ASSERT_GE(lines(resumed), 2);
    EXPECT_EQ(resumed, kMicro.repeated(lines(resumed)));
    EXPECT_TRUE(out()->isOpen());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
