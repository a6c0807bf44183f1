#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <optional>

#include "output/udp_target.h"
#include "platform/clock.h"

class QHostInfo;

// Sends datagrams to one target without ever waiting: a host name is looked up in the
// background, and sends before the answer are dropped, as the next send carries newer values
// anyway. Each outcome is signalled, so the caller can show it; a failed lookup is tried again
// at the next send. A name is looked up again at least once a minute and after every refused
// send, so that a survey computer that DHCP moves during the week keeps its telegrams; the
// address known last is used until the new answer comes.
class UdpSender : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kLookupAgainMs = 60'000;

    explicit UdpSender(QObject* parent = nullptr, SteadyClock clock = steadyMilliseconds);
    ~UdpSender() override;

    // Aims at a target; an address is used at once, a name is looked up now.
    void aim(const UdpTarget& target);
    // Forgets the target and any lookup still running.
    void stop();
    bool isAimed() const { return target_.has_value(); }
    void send(const QByteArray& datagram);

signals:
    // `to` is the target as typed, with the address a name stands for.
    void sent(const QString& to);
    void failed(const QString& reason);

protected:
    // Starts looking the name up, to be answered through lookedUp(); the id it returns names the
    // answer. Tests answer it themselves.
    virtual int startLookup(const QString& host);

protected slots:
    void lookedUp(const QHostInfo& info);

private:
    void lookUp();
    void abortLookup();
    bool isName() const;

    QUdpSocket socket_;
    std::optional<UdpTarget> target_;
    std::optional<QHostAddress> address_;
    int lookupId_ = -1;  // while a lookup runs
    SteadyClock clock_;
    qint64 lookedUpAt_ = 0;
};
