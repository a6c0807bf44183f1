#include <gtest/gtest.h>

#include <utility>

#include "input/input_controller.h"
#include "platform/timer.h"
#include "support/station_fixture.h"

namespace {

// The input on fake ports. Each reading it hands on is noted by its label texts, "-" for none,
// with "*" when it completes a reading.
class InputControl : public FakeServicesTest {
protected:
    InputControl() {
        QObject::connect(&input, &InputController::reading, [this](const InstrumentReading& r) {
            const QString texts = QStringList{r.pressureText, r.conductivityText, r.temperatureText}
                                      .join(u' ')
                                      .trimmed();
            shown << (texts.isEmpty() ? QStringLiteral("-") : texts) + (r.fresh ? "*" : "");
            last = r;
        });
    }

    FakePort& port(const char* name) { return *input.findChild<FakePort*>(name); }
    Timer& timer(const char* name) { return *input.findChild<Timer*>(name); }
    bool start(const char* instrument, WhenAbsent absent = WhenAbsent::Tell) {
        return input.start(*instruments::table().named(instrument), "3", "1200,O,8,1", absent).ok();
    }
    void receive(const QByteArray& bytes) { deliver(&port("Com_in"), bytes); }
    QStringList taken() { return std::exchange(shown, {}); }

    InputController input{services.makePort, nullptr};
    QStringList shown;
    InstrumentReading last;
};

// Records are handed on as their line end arrives, oldest first. A bad field hands on the values
// before it and reopens the port with an empty buffer, so the next record read is the first
// framed by two line ends; a restart keeps the buffer, the line end of the last record framing
// the next. A Sea & Sun started on the same device cannot have it and says who holds it.
TEST_F(InputControl, ABadRecordEmptiesTheBufferAndARestartKeepsIt) {
    ASSERT_TRUE(start("Kestrane"));
    receive("TAIL\r");
    receive("\n" + recordLine("0035.008", "-00.750", "15.500"));
    EXPECT_EQ(taken(), QStringList{"-0.75 3.5008 15.5*"});
    journal.clear();
    receive(recordLine("ABC", "-01.000", "16.000"));
    EXPECT_EQ(taken(), QStringList{"-"});
    EXPECT_EQ(last.pressure, -0.1);
    EXPECT_EQ(input.recordsRejected(), 1);
    EXPECT_EQ(journal, QStringList({"Com_in close", "Com_in open"}));
    receive(recordLine("40", "20", "17") + recordLine("30", "10", "1") +
            recordLine("32.5", "1", "3"));
    EXPECT_EQ(taken(), QStringList({"10 3 1*", "1 3.25 3*"}));
    ASSERT_TRUE(start("Kestrane"));
    EXPECT_EQ(input.recordsRejected(), 0);
    receive(recordLine("31", "10", "8.5"));
    EXPECT_EQ(taken(), QStringList{"10 3.1 8.5*"});

    port("Com_SST").openErrors = {{SerialPort::kDeviceFailure, QStringLiteral("busy")}};
    EXPECT_FALSE(start("SeaSun"));
    EXPECT_EQ(input.state().text(), "Not connected: COM3 is held by the Kestrane connection");
}

// A tick hands on each step of the block that came since the last one, a closed port unread; the
// last step completes a reading once any word was accepted. A block too short for a word has no
// step; a refused word (water colder than the temperature words reach) labels nothing.
TEST_F(InputControl, ATickHandsOnEachStepOfTheWaitingBlock) {
    const int cold = sea_sun::rawCountFor(sea_sun::Channel::Temperature, 10);
    port("Com_SST").incoming = seaSunBlock(3227, 37681, 39400);
    emit timer("timer_sst").tick();
    ASSERT_TRUE(start("SeaSun"));
    const std::pair<QByteArray, QStringList> ticks[] = {
        {QByteArray(2, '\0'), {}},
        {seaSunBlock(3227, 37681, 39400), {"-", "1.521", "20.000", "3.999*"}},
        {seaSunBlock(3227, cold, 39400), {"-", "1.521", "3.999*"}}};
    for (const auto& [block, steps] : ticks) {
        port("Com_SST").incoming = block;
        emit timer("timer_sst").tick();
        EXPECT_EQ(taken(), steps);
    }
}

// An unplugged adapter is tried again quietly until the next start of either instrument. A start
// that fails is not retried behind the user's back; one that is to retry polls from the start on.
TEST_F(InputControl, AVanishedPortIsReopenedUntilTheNextStart) {
    const PortError gone{SerialPort::kUnusablePort, QStringLiteral("no such device")};
    ASSERT_TRUE(start("Kestrane"));
    port("Com_in").vanish();
    EXPECT_TRUE(timer("Com_in_reopen").isEnabled());
    ASSERT_TRUE(start("SeaSun"));
    EXPECT_FALSE(timer("Com_in_reopen").isEnabled());
    EXPECT_TRUE(timer("timer_sst").isTicking());
    EXPECT_EQ(port("Com_SST").readBufferSize, 1200 / 8 + 256) << "a poll takes a second of data";

    port("Com_SST").vanish();
    port("Com_SST").openErrors = {gone};
    EXPECT_FALSE(start("SeaSun"));
    EXPECT_FALSE(timer("Com_SST_reopen").isEnabled());
    port("Com_SST").openErrors = {gone};
    EXPECT_FALSE(start("SeaSun", WhenAbsent::Retry));
    EXPECT_TRUE(timer("timer_sst").isEnabled());
    emit timer("Com_SST_reopen").tick();
    EXPECT_TRUE(port("Com_SST").isOpen());
}

}  // namespace
