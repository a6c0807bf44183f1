#include "output/udp_sender.h"

#include <QHostInfo>
#include <algorithm>

UdpSender::UdpSender(QObject* parent, SteadyClock clock)
    : QObject(parent), clock_(std::move(clock)) {}

UdpSender::~UdpSender() {
    abortLookup();
}

void UdpSender::aim(const UdpTarget& target) {
    stop();
    target_ = target;
    const QHostAddress literal(target.host);
    if (literal.isNull()) {
        lookUp();
    } else {
        address_ = literal;
    }
}

void UdpSender::stop() {
    abortLookup();
    target_.reset();
    address_.reset();
}

void UdpSender::send(const QByteArray& datagram) {
    if (!target_) {
        return;
    }
    const bool dueAgain = isName() && clock_() - lookedUpAt_ >= kLookupAgainMs;
    if ((!address_ || dueAgain) && lookupId_ < 0) {
        lookUp();
    }
    if (!address_) {
        return;
    }
    if (socket_.writeDatagram(datagram, *address_, target_->port) < 0) {
        emit failed(socket_.errorString());
        if (isName() && lookupId_ < 0) {
            lookUp();
        }
        return;
    }
    const QString to = target_->text();
    emit sent(address_->toString() == target_->host
                  ? to
                  : QStringLiteral("%1 (%2)").arg(to, address_->toString()));
}

// Named as a slot rather than given as a member pointer: Qt 6.4 loses the functor it makes of a
// member pointer when a lookup is aborted.
void UdpSender::lookUp() {
    lookupId_ = startLookup(target_->host);
}

int UdpSender::startLookup(const QString& host) {
    return QHostInfo::lookupHost(host, this, SLOT(lookedUp(QHostInfo)));
}

bool UdpSender::isName() const {
    return target_ && QHostAddress(target_->host).isNull();
}

// Receivers on a survey network mostly listen on IPv4: a name that has both kinds of address
// is sent to by its IPv4 one.
void UdpSender::lookedUp(const QHostInfo& info) {
    if (info.lookupId() != lookupId_) {
        return;
    }
    lookupId_ = -1;
    lookedUpAt_ = clock_();
    const QList<QHostAddress> addresses = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
        emit failed(
            QStringLiteral("%1 cannot be found (%2)").arg(target_->host, info.errorString()));
        return;
    }
    const auto ipv4 = std::find_if(addresses.cbegin(), addresses.cend(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    address_ = ipv4 != addresses.cend() ? *ipv4 : addresses.first();
}

void UdpSender::abortLookup() {
    if (lookupId_ >= 0) {
        QHostInfo::abortHostLookup(lookupId_);
        lookupId_ = -1;
    }
}
