#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

#include "platform/connection_state.h"
#include "platform/link_address.h"
#include "platform/serial_port.h"

class QAbstractSocket;

// How long an open TCP link has brought nothing: a device server that lost its power leaves a
// connection that never fails by itself. Its timeout ends the link; a limit of 0 never does.
class LinkSilence : public QTimer {
public:
    LinkSilence() { setSingleShot(true); }
    // A byte came, or the link opened: the silence counts from now.
    void heard() {
        if (interval() > 0) {
            start();
        }
    }
    QString reason(const QString& far) const {
        return QStringLiteral("no data from %1 for %2 s").arg(far).arg(interval() / 1000.0);
    }
};

// One way of reaching a serial line behind a device server: what a port does with its bytes once
// its mapping names a link. Open means bytes pass; open() on a link still coming up tells why it
// has not yet (kLinkDown, kAwaitingPeer) and is asked again about once a second.
class NetworkLink : public QObject {
    Q_OBJECT
public:
    // The link of the address's kind.
    static std::unique_ptr<NetworkLink> make(const LinkAddress& address);

    explicit NetworkLink(const LinkAddress& address) : address_(address) {}

    const LinkAddress& address() const { return address_; }

    virtual bool isOpen() const = 0;
    virtual bool isInUse() const { return isOpen(); }
    virtual PortResult open() = 0;
    virtual void close() = 0;
    virtual QByteArray readAll() = 0;
    virtual PortResult write(const QByteArray& bytes) = 0;
    virtual qint64 bytesWaitingToSend() const = 0;
    virtual void setReadBufferSize(qint64 bytes) = 0;
    // A datagram link has no connection to renew: its silence is told by the readings' age.
    virtual void setSilenceLimit(int ms) { Q_UNUSED(ms); }
    virtual ConnectionState state() const = 0;
    virtual bool startsAtRecord() const { return false; }

signals:
    void dataReceived();
    // The link was open and is no longer: the far end went, or fell silent.
    void failed(const PortError& error);
    void changed();

protected:
    // Keepalive on, so a device server gone without a word is found, and no delay, so a telegram
    // leaves when it is written.
    static void prepare(QAbstractSocket& socket);
    // Bytes the socket holds and the system has not yet sent.
    static qint64 unsent(const QAbstractSocket& socket);

private:
    LinkAddress address_;
};
