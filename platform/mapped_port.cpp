#include "platform/mapped_port.h"

#include "platform/settings_store.h"

MappedPort::MappedPort(QObject* parent) : SerialPort(parent) {
    connect(&serial_, &SerialPort::dataReceived, this, &SerialPort::dataReceived);
    connect(&serial_, &SerialPort::failed, this, &SerialPort::failed);
}

bool MappedPort::isOpen() const {
    return link_ ? link_->isOpen() : serial_.isOpen();
}

bool MappedPort::isInUse() const {
    return link_ ? link_->isInUse() : serial_.isOpen();
}

PortResult MappedPort::followMapping() {
    const QString mapping = device();
    if (!link_address::isLink(mapping)) {
        link_.reset();
        return {};
    }
    const auto parsed = link_address::parse(mapping);
    if (const auto* why = std::get_if<QString>(&parsed)) {
        link_.reset();
        return PortError{kNotSerialDevice,
                         QStringLiteral("%1 cannot be used: %2").arg(mapping, *why)};
    }
    const LinkAddress& address = std::get<LinkAddress>(parsed);
    if (link_ && link_->address() == address) {
        return {};
    }
    link_ = NetworkLink::make(address);
    link_->setReadBufferSize(readBuffer_);
    link_->setSilenceLimit(silenceMs_);
    connect(link_.get(), &NetworkLink::dataReceived, this, &SerialPort::dataReceived);
    connect(link_.get(), &NetworkLink::failed, this, &SerialPort::failed);
    connect(link_.get(), &NetworkLink::changed, this, &SerialPort::changed);
    return {};
}

PortResult MappedPort::open() {
    if (isOpen()) {
        return {};
    }
    if (PortResult followed = followMapping(); !followed.ok()) {
        return followed;
    }
    return link_ ? link_->open() : serial_.open();
}

void MappedPort::close() {
    if (link_) {
        link_->close();
    } else {
        serial_.close();
    }
}

QByteArray MappedPort::readAll() {
    return link_ ? link_->readAll() : serial_.readAll();
}

PortResult MappedPort::write(const QByteArray& bytes) {
    return link_ ? link_->write(bytes) : serial_.write(bytes);
}

void MappedPort::setReadBufferSize(qint64 bytes) {
    readBuffer_ = bytes;
    serial_.setReadBufferSize(bytes);
    if (link_) {
        link_->setReadBufferSize(bytes);
    }
}

qint64 MappedPort::bytesWaitingToSend() const {
    return link_ ? link_->bytesWaitingToSend() : serial_.bytesWaitingToSend();
}

PortResult MappedPort::restart() {
    if (!link_) {
        return SerialPort::restart();
    }
    link_->readAll();
    return {};
}

ConnectionState MappedPort::openState() const {
    return link_ ? link_->state() : serial_.openState();
}

void MappedPort::setSilenceLimit(int ms) {
    silenceMs_ = ms;
    if (link_) {
        link_->setSilenceLimit(ms);
    }
}

bool MappedPort::startsAtRecord() const {
    return link_ && link_->startsAtRecord();
}
