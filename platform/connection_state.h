#pragma once

#include <QString>

// What one connection (the instrument input, the serial output, the UDP output, the log) is
// doing, in words a user can act on. The connection code sets states; the window and the headless
// program render them, so every status line and every line on standard error reads the same.
struct ConnectionState {
    enum class Kind { Idle, Connected, Listening, Reconnecting, Failed };

    Kind kind = Kind::Idle;
    // Connected: the device and settings or the target; Listening: the link; Failed,
    // Reconnecting: the reason.
    QString detail;
    // Words that replace the kind's own on a status line too narrow for the detail ("Log
    // failing!"); the detail then goes to the line's tooltip.
    QString brief;
    // Something was lost on the way, so even a working connection is shown as an alarm.
    bool losses = false;
    // What a listening link turned away ("3 datagrams from 10.0.0.9 ignored"), shown after the
    // state and told once on standard error.
    QString note;

    static ConnectionState idle() { return {}; }
    static ConnectionState connected(const QString& what) {
        return {Kind::Connected, what, {}, false, {}};
    }
    static ConnectionState listening(const QString& link) {
        return {Kind::Listening, link, {}, false, {}};
    }
    static ConnectionState reconnecting(const QString& reason) {
        return {Kind::Reconnecting, reason, {}, false, {}};
    }
    static ConnectionState failed(const QString& reason) {
        return {Kind::Failed, reason, {}, false, {}};
    }

    // "Connected: /dev/ttyUSB0 19200,N,8,1", "Listening on udp://0.0.0.0:5601", "Not connected:
    // ...", "Reconnecting ...", the brief, or empty while idle; the note after it.
    QString text() const;
    // The whole story, for a tooltip and standard error.
    QString details() const;
    // A failure is shown in red until the next attempt.
    bool alarm() const { return kind == Kind::Failed || losses; }
    bool troubled() const { return kind == Kind::Failed || kind == Kind::Reconnecting; }
    // Started and not given up: connected, waiting for its far end, or coming back.
    bool running() const {
        return kind == Kind::Connected || kind == Kind::Listening || kind == Kind::Reconnecting;
    }
    bool operator==(const ConnectionState&) const = default;

private:
    // The text without the note.
    QString words() const;
};
