#include <gtest/gtest.h>

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

#include "output/udp_sender.h"

namespace {

// A sender whose name lookups the test answers, on a clock the test moves.
class AnsweredSender : public UdpSender {
public:
    AnsweredSender() : UdpSender(nullptr, [this] { return nowMs; }) {}

    void answer(const QString& address) {
        QHostInfo info(lastId);
        info.setAddresses({QHostAddress(address)});
        lookedUp(info);
    }

    QStringList asked;
    int lastId = 0;
    qint64 nowMs = 0;

protected:
    int startLookup(const QString& host) override {
        asked << host;
        return ++lastId;
    }
};

QByteArray received(QUdpSocket& socket) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return socket.hasPendingDatagrams(); }));
    return socket.receiveDatagram().data();
}

// A name is looked up again once a minute while sending, and the address known last serves
// until the answer comes; a changed address takes the next datagram.
TEST(UdpSender, ANameIsLookedUpAgainEveryMinute) {
    QUdpSocket first;
    QUdpSocket second;
    ASSERT_TRUE(first.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    if (!second.bind(QHostAddress(QStringLiteral("127.0.0.2")), first.localPort())) {
        GTEST_SKIP() << "no second loopback address here";
    }
    AnsweredSender sender;
    sender.aim({QStringLiteral("survey-pc"), first.localPort()});
    sender.send("dropped before the answer");
    sender.answer(QStringLiteral("127.0.0.1"));
    sender.send("one");
    EXPECT_EQ(received(first), "one");
    sender.nowMs = UdpSender::kLookupAgainMs - 1;
    sender.send("two");
    EXPECT_EQ(received(first), "two");
    EXPECT_EQ(sender.asked, QStringList{"survey-pc"});

    sender.nowMs = UdpSender::kLookupAgainMs;
    sender.send("three");
    EXPECT_EQ(received(first), "three") << "the old address until the answer";
    EXPECT_EQ(sender.asked.size(), 2);
    sender.answer(QStringLiteral("127.0.0.2"));
    sender.send("four");
    EXPECT_EQ(received(second), "four");
    EXPECT_FALSE(first.hasPendingDatagrams());
}

}  // namespace
