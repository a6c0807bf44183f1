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

constexpr int kInstrumentPort = 11;
constexpr int kReceiverPort = 12;

// One instrument record, 29 mS/cm, 100 dbar and -1 degree, framed by line ends as it arrives
// from a running instrument; it gives 1447.56 m/s.
const QByteArray kRecord = "\r\n0029.000\tMS/CM\t100.000\tDBAR\t-01.000\tC\r\n";
const QByteArray kMicro = " 1447.56 \r\n";
const QByteArray kSvp = "1447600010-00010990000\r\n";

qsizetype lines(const QByteArray& bytes) {
    return bytes.count("\r\n");
}

// The window with real serial ports, reading a pseudo-terminal that plays the instrument and
// sending to one that plays the echosounder.
class OutputEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(instrument.isOpen());
        ASSERT_TRUE(receiver.isOpen());
        settings_store::setPortConfiguration(settings_store::kOutputKey, QString());
        Services services;
        services.dialogs = &dialogs;
        services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };
        window = std::make_unique<frm_main>(services);
        window->show();
        type("Text3", QString::number(kInstrumentPort));
        click("Command3");
        ASSERT_TRUE(instrument.pty().write(kRecord));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->soundvelocity != 0; }));
        type("Text5", QString::number(kReceiverPort));
        type("tx_timer", "50");
    }
    void TearDown() override {
        settings_store::setPortConfiguration(settings_store::kInputKey, storedIn);
        settings_store::setPortConfiguration(settings_store::kOutputKey, storedOut);
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

    const QString storedIn = settings_store::portConfiguration(settings_store::kInputKey);
    const QString storedOut = settings_store::portConfiguration(settings_store::kOutputKey);
    PtyDevice instrument{kInstrumentPort};
    PtyDevice receiver{kReceiverPort};
    FakeDialogs dialogs;
    std::unique_ptr<frm_main> window;
};

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
    EXPECT_FALSE(window->findChild<Timer*>("Timer4")->isEnabled());
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
