#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/connection_state.h"
#include "platform/result.h"

// Why a port operation failed. The window tells kUnusablePort and kNotSerialDevice apart, and a
// connection retried quietly gives up on kNotSerialDevice; the reason is written for the user,
// who sees it in the window and on standard error.
struct PortError {
    int number = 0;
    QString reason;
};

using PortResult = Result<PortError>;

// One serial port: a number that names a device, a settings text ("19200,N,8,1"), open/close,
// raw bytes in and out. The device may be a serial line behind a device server on the network.
// Everything happens on the thread that owns the object.
class SerialPort : public QObject {
    Q_OBJECT
public:
    // Port numbers run from 1 to this.
    static constexpr int kHighestPortNumber = 32767;
    // The port number names no usable device (no such device, or outside 1..32767).
    static constexpr int kUnusablePort = 8002;
    // The port number names something that is there but no serial device (a file, /dev/null):
    // it does not become one by trying again.
    static constexpr int kNotSerialDevice = 8003;
    // The settings text cannot be used (unknown parity, data bits outside 5..8, ...).
    static constexpr int kInvalidSettings = 380;
    // Any other failure of the device: busy, permission denied, vanished, write refused.
    static constexpr int kDeviceFailure = 8005;
    // A network link whose far end is not there yet (connecting, refused, dropped): it is tried
    // again whatever the start asked, as a device server may take a while to boot.
    static constexpr int kLinkDown = 8006;
    // A listening link is up but its device server has not connected yet.
    static constexpr int kAwaitingPeer = 8007;

    using QObject::QObject;

    virtual PortResult setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    virtual PortResult setSettings(const QString& text) = 0;
    virtual QString settings() const = 0;
    // The device the port number names, as the user knows it ("/dev/ttyUSB0", "COM3").
    virtual QString device() const = 0;

    virtual bool isOpen() const = 0;
    // Open, or a network link on its way up (connecting, listening): what close() has to end, or
    // a peer that comes later would be read by a port nobody runs.
    virtual bool isInUse() const { return isOpen(); }
    virtual PortResult open() = 0;
    virtual void close() = 0;

    // Every byte waiting, unchanged; empty when nothing waits or the port is closed.
    virtual QByteArray readAll() = 0;
    // The whole block in one call; a failure closes the port.
    virtual PortResult write(const QByteArray& bytes) = 0;
    // At most this many received bytes wait to be read; beyond that the device's own buffer
    // holds them, and drops what it cannot hold, so a flooding device cannot fill the memory.
    virtual void setReadBufferSize(qint64 bytes) = 0;
    // Bytes written but not yet on the line: those held back while the device's buffer is full
    // and those still in the driver's own queue.
    virtual qint64 bytesWaitingToSend() const = 0;

    // Drops whatever was received and not yet read, so that reading starts afresh: the port
    // closes and opens again. A failure leaves it closed.
    virtual PortResult restart();

    // What the status line says of the port while open, or while a listening link waits:
    // "Connected: /dev/ttyUSB0 19200,N,8,1".
    virtual ConnectionState openState() const;
    // A network link that brings no byte for this long is taken for dead, closed and reported
    // failed: a device server that lost power leaves a connection that never fails by itself.
    // 0 waits for ever. A serial line that falls silent is a silent instrument; it ignores this.
    virtual void setSilenceLimit(int ms) { Q_UNUSED(ms); }
    // The bytes begin at a record, as the datagrams of a device server do; a serial line opens
    // in the middle of whatever the instrument sends.
    virtual bool startsAtRecord() const { return false; }

signals:
    // Bytes are waiting to be read.
    void dataReceived();
    // The device failed while open (unplugged, read error); the port has been closed.
    void failed(const PortError& error);
    // What openState() says, or whether a link now opens, changed without a call of ours: a
    // device server connected, a stranger was turned away.
    void changed();
};
