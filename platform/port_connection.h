#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "platform/connection_state.h"
#include "platform/serial_port.h"

class Timer;

// What a start does when the device is not there: tell the user, who is there to choose again, or
// keep trying quietly, for a program that runs unattended and an adapter that enumerates late.
enum class WhenAbsent { Tell, Retry };

// Creates one serial port owned by the given parent: the real one in the program, a double in
// tests.
using PortFactory = std::function<SerialPort*(QObject* parent)>;

// Closes the port, sets the number typed in `portText` and the settings in `settingsText`, calls
// `chosen` with the two texts joined by a colon (so that they are remembered even when the open
// then fails) and opens the port. Stops at the first failure, keeping what the steps before it
// did.
PortResult connectPort(SerialPort& port, const QString& portText, const QString& settingsText,
                       const std::function<void(const QString&)>& chosen);

// Reopens a port whose device went away (an unplugged adapter, a receiver switched off, a device
// server that dropped the connection), quietly and about once a second, until the device is back
// or whoever started the connection starts or stops it again. It tells every change of the
// connection it sees: a link coming up between two ticks, a stranger turned away.
class PortReopener : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 1000;

    // The timer is named after the port ("Com_in_reopen"), so name the port first.
    PortReopener(SerialPort* port, QObject* parent);

    // How a start went, and the state it leaves the connection in.
    struct Started {
        PortResult result;
        ConnectionState state;
    };
    // Connects the port as connectPort() does. A device that is not there is tried again from
    // now on when `absent` asks for it; what is there but no serial device is not. A network
    // link still coming up is tried again in any case, and its start counts as a success.
    Started connect(const QString& portText, const QString& settingsText, WhenAbsent absent,
                    const std::function<void(const QString&)>& chosen);
    // The device went away: try it again from the next tick on.
    void start();
    void stop();

signals:
    void stateChanged(const ConnectionState& state);

private:
    void tryOpen();
    void portChanged();
    // The state of a port that did not open for this reason.
    ConnectionState away(const PortError& error) const;

    SerialPort* port_;
    Timer* timer_;
    ConnectionState told_;
    // Between a start and a stop: what the port tells is this connection's to tell.
    bool following_ = false;
};
