#pragma once

#include <QString>

class QLabel;

// What one connection (the instrument input, the serial output, the UDP output, the log) is
// doing, in words a user can act on. The connection code sets states; showStatus() renders
// them, so every status line reads and looks the same.
struct ConnectionState {
    enum class Kind { Idle, Connected, Reconnecting, Failed };

    Kind kind = Kind::Idle;
    // Connected: the device and settings or the target; Failed: the reason.
    QString detail;

    static ConnectionState idle() { return {}; }
    static ConnectionState connected(const QString& what) { return {Kind::Connected, what}; }
    static ConnectionState reconnecting() { return {Kind::Reconnecting, {}}; }
    static ConnectionState failed(const QString& reason) { return {Kind::Failed, reason}; }

    // "Connected: /dev/ttyUSB0 19200,N,8,1", "Not connected: ...", "Reconnecting ...", or
    // empty while idle.
    QString text() const;
    // A failure is shown in red until the next attempt.
    bool alarm() const { return kind == Kind::Failed; }
    bool operator==(const ConnectionState&) const = default;
};

// Shows `text` on a status line, red when `alarm`, with the whole text as its tooltip for a
// line too narrow to hold it.
void showStatus(QLabel* line, const QString& text, bool alarm);
