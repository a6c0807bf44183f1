#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <deque>
#include <memory>

#include "app/frm_main.h"
#include "output/send_lamp.h"
#include "platform/settings_store.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"

namespace {

// A port whose next opens and writes can be told to fail, and whose device can vanish.
class ScriptedPort : public FakePort {
public:
    using FakePort::FakePort;

    PortResult open() override {
        if (!openErrors.empty()) {
            const PortError error = openErrors.front();
            openErrors.pop_front();
            return error;
        }
        return FakePort::open();
    }
    PortResult write(const QByteArray& bytes) override {
        if (writeError) {
            close();
            return writeError;
        }
        return FakePort::write(bytes);
    }
    void vanish() {
        close();
        emit failed(PortError{kDeviceFailure, QStringLiteral("device gone")});
    }

    std::optional<PortError> writeError;
    std::deque<PortError> openErrors;
};

const PortError kNoSuchPort{SerialPort::kUnusablePort, QStringLiteral("no such device")};
const PortError kBusy{SerialPort::kDeviceFailure, QStringLiteral("busy")};

class OutputWindowTest : public ::testing::Test {
protected:
    OutputWindowTest() {
        settings_store::setPortConfiguration(settings_store::kOutputKey, QString());
        Services services;
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) -> SerialPort* {
            ports.push_back(new ScriptedPort(parent, &journal));
            return ports.back();
        };
        window = std::make_unique<frm_main>(services);
        for (ScriptedPort* port : ports) {
            if (port->objectName() == QLatin1String("com_out")) {
                out = port;
            }
        }
        sendTimer = timer("Timer4");
        lampTimer = timer("Timer3");
        reopenTimer = timer("output_reopen");
        lamp = window->findChild<SendLamp*>("Shape1");
        window->show();
    }
    ~OutputWindowTest() override {
        settings_store::setPortConfiguration(settings_store::kOutputKey, storedBefore);
    }

    Timer* timer(const char* name) { return window->findChild<Timer*>(name); }
    void type(const char* box, const QString& text) {
        window->findChild<QLineEdit*>(box)->setText(text);
    }
    void click(const char* button) { window->findChild<QPushButton*>(button)->click(); }
    void start() { click("Command4"); }
    void stop() { click("Command7"); }
    void sendTick() { emit sendTimer->tick(); }
    void lampTick() { emit lampTimer->tick(); }
    void reopenTick() { emit reopenTimer->tick(); }
    QString stored() const { return settings_store::portConfiguration(settings_store::kOutputKey); }

    const QString storedBefore = stored();
    FakeDialogs dialogs;
    QStringList journal;
    std::vector<ScriptedPort*> ports;
    std::unique_ptr<frm_main> window;
    ScriptedPort* out = nullptr;
    Timer* sendTimer = nullptr;
    Timer* lampTimer = nullptr;
    Timer* reopenTimer = nullptr;
    SendLamp* lamp = nullptr;
};

TEST_F(OutputWindowTest, FirstStartStoresOpensAndArmsOnlyTheSendTimer) {
    start();
    EXPECT_EQ(stored(), "2:4800,N,8,1");
    EXPECT_EQ(out->portNumber(), 2);
    EXPECT_EQ(out->settings(), "4800,N,8,1");
    EXPECT_TRUE(out->isOpen());
    EXPECT_EQ(sendTimer->interval(), 500);
    EXPECT_TRUE(sendTimer->isEnabled());
    EXPECT_EQ(lampTimer->interval(), 250);
    EXPECT_FALSE(lampTimer->isEnabled());
    // The first telegram leaves one interval later, not at the press.
    EXPECT_TRUE(out->written.isEmpty());
    EXPECT_EQ(lamp->color(), SendLamp::kIdle);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OutputWindowTest, IntervalsFromTheSendIntervalBox) {
    struct Case {
        const char* typed;
        int send;
        int lamp;
    };
    const Case cases[] = {{"500", 500, 250},      {"501", 501, 250}, {"503", 503, 252},
                          {" 1000 ", 1000, 500},  {"1", 1, 0},       {"0", 0, 0},
                          {"65535", 65535, 32768}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        type("tx_timer", c.typed);
        start();
        EXPECT_TRUE(out->isOpen());
        EXPECT_EQ(sendTimer->interval(), c.send);
        EXPECT_EQ(lampTimer->interval(), c.lamp);
        EXPECT_TRUE(sendTimer->isEnabled());
    }
}

// The port is already open when the interval is read; the timers keep what they had.
TEST_F(OutputWindowTest, UnusableSendIntervalLeavesThePortOpenAndTheTimersAlone) {
    for (const char* typed : {"70000", "65536", "-1", "abc", ""}) {
        SCOPED_TRACE(typed);
        type("tx_timer", typed);
        start();
        EXPECT_TRUE(out->isOpen());
        EXPECT_EQ(sendTimer->interval(), 1000);
        EXPECT_EQ(lampTimer->interval(), 200);
        EXPECT_FALSE(sendTimer->isEnabled());
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(OutputWindowTest, UnusableSendIntervalKeepsARunningSendTimerSending) {
    start();
    type("tx_timer", "70000");
    start();
    EXPECT_TRUE(sendTimer->isEnabled());
    EXPECT_EQ(sendTimer->interval(), 500);
    sendTick();
    EXPECT_EQ(out->written, " 0.00 \r\n");
}

TEST_F(OutputWindowTest, LampLightsOnASendTickAndGoesIdleOnTheLampTick) {
    start();
    sendTick();
    EXPECT_EQ(out->written, " 0.00 \r\n");
    EXPECT_EQ(lamp->color(), SendLamp::kLit);
    EXPECT_TRUE(lampTimer->isEnabled());
    lampTick();
    EXPECT_EQ(lamp->color(), SendLamp::kIdle);
    EXPECT_FALSE(lampTimer->isEnabled());
    EXPECT_EQ(lampTimer->interval(), 250);
}

TEST_F(OutputWindowTest, SendIntervalOfOneKeepsTheLampLit) {
    type("tx_timer", "1");
    start();
    sendTick();
    EXPECT_EQ(lamp->color(), SendLamp::kLit);
    EXPECT_TRUE(lampTimer->isEnabled());
    EXPECT_FALSE(lampTimer->isTicking());
}

TEST_F(OutputWindowTest, StopLeavesTheLampAsItIs) {
    start();
    sendTick();
    stop();
    EXPECT_FALSE(out->isOpen());
    EXPECT_FALSE(sendTimer->isEnabled());
    EXPECT_FALSE(lampTimer->isEnabled());
    EXPECT_EQ(lamp->color(), SendLamp::kLit);
    stop();
    EXPECT_EQ(lamp->color(), SendLamp::kLit);
}

TEST_F(OutputWindowTest, RestartWhileSendingReopensWithTheCurrentTexts) {
    start();
    journal.clear();
    type("Text5", "7");
    type("Text6", "9600,N,8,1");
    type("tx_timer", "800");
    start();
    EXPECT_EQ(journal, QStringList({"com_out close", "com_out open"}));
    EXPECT_EQ(out->portNumber(), 7);
    EXPECT_EQ(out->settings(), "9600,N,8,1");
    EXPECT_EQ(sendTimer->interval(), 800);
    EXPECT_EQ(lampTimer->interval(), 400);
    EXPECT_EQ(stored(), "7:9600,N,8,1");
}

TEST_F(OutputWindowTest, PortTextThatIsNoNumberClosesAndStoresNothing) {
    start();
    type("Text5", "abc");
    start();
    EXPECT_FALSE(out->isOpen());
    EXPECT_EQ(stored(), "2:4800,N,8,1");
    EXPECT_TRUE(dialogs.messages.empty());
    // The send timer runs on, without effect.
    EXPECT_TRUE(sendTimer->isEnabled());
    sendTick();
    EXPECT_TRUE(out->written.isEmpty());
    EXPECT_EQ(lamp->color(), SendLamp::kIdle);
    EXPECT_FALSE(reopenTimer->isEnabled());
}

// true: a write is refused; false: the port reports the device gone between ticks.
class OutputLossTest : public OutputWindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void loseDevice() {
        if (GetParam()) {
            out->writeError = PortError{SerialPort::kDeviceFailure, "i/o error"};
            sendTick();
            out->writeError.reset();
        } else {
            out->vanish();
        }
    }
};

TEST_P(OutputLossTest, DimsTheLampAndReopensUntilTheDeviceIsBack) {
    start();
    sendTick();
    out->written.clear();
    loseDevice();
    EXPECT_FALSE(out->isOpen());
    EXPECT_EQ(lamp->color(), SendLamp::kIdle);
    EXPECT_FALSE(lampTimer->isEnabled());
    EXPECT_TRUE(reopenTimer->isEnabled());
    EXPECT_EQ(reopenTimer->interval(), 1000);

    out->openErrors = {kNoSuchPort, kBusy};
    reopenTick();
    reopenTick();
    EXPECT_FALSE(out->isOpen());
    EXPECT_TRUE(reopenTimer->isEnabled());
    sendTick();
    EXPECT_TRUE(out->written.isEmpty());
    EXPECT_EQ(lamp->color(), SendLamp::kIdle);

    reopenTick();
    EXPECT_TRUE(out->isOpen());
    EXPECT_FALSE(reopenTimer->isEnabled());
    sendTick();
    EXPECT_EQ(out->written, " 0.00 \r\n");
    EXPECT_EQ(lamp->color(), SendLamp::kLit);
    // Retries never show the start's message box.
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Losses, OutputLossTest, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "WriteRefused" : "DeviceFailedWhileOpen");
});

TEST_F(OutputWindowTest, StopEndsTheRetries) {
    start();
    out->vanish();
    ASSERT_TRUE(reopenTimer->isEnabled());
    stop();
    EXPECT_FALSE(reopenTimer->isEnabled());
}

}  // namespace
