#pragma once

#include <QObject>
#include <QString>

#include "output/send_intervals.h"
#include "output/telegram_formats.h"
#include "output/udp_output.h"
#include "platform/connection_state.h"
#include "platform/port_connection.h"

class Timer;

// The sound-velocity output: the port com_out, the send timer Timer4 and the lamp timer Timer3,
// the telegram choice, the rule that keeps telegrams from queueing in the driver, the quiet
// reopening of a receiver that went away; beside it the UDP output.
class OutputController : public QObject {
    Q_OBJECT
public:
    OutputController(const PortFactory& makePort, const SoundingSource& source, QObject* parent);

    // A failure ends the start and leaves what the earlier steps did: the port closed, the
    // texts remembered, or the port open with the send timer as it was.
    // Without usable intervals the port opens but nothing is sent, and the note says why.
    PortResult start(const QString& portText, const QString& settingsText,
                     const std::optional<SendIntervals>& intervals,
                     WhenAbsent absent = WhenAbsent::Tell);
    // The lamp keeps its colour.
    void stop();
    // Stops every clock, serial and UDP, and closes the port, as the program ends.
    void close();
    void setTelegram(const TelegramFormat& telegram);
    const TelegramFormat& telegram() const { return *telegram_; }
    UdpOutput& udp() { return *udp_; }
    const UdpOutput& udp() const { return *udp_; }

    const ConnectionState& state() const { return state_; }
    // Started and not stopped: connected, or waiting for the device to come back.
    bool isStarted() const;
    // Beside the state: why no telegram leaves although connected.
    const QString& note() const { return note_; }
    // What the receiver sent back since the start, read and dropped: "echosounder sends back N
    // bytes", empty while it sends nothing, as it should.
    QString echo() const;

signals:
    // The port texts about to be opened, "port:settings", to be remembered.
    void portTextsChosen(const QString& value);
    void stateChanged(const ConnectionState& state);
    void noteChanged(const QString& note);
    void lampChanged(bool lit);
    // The receiver sends bytes back, for the first time since the start.
    void echoBegan();
    void echoCounted(qint64 bytes);

private:
    // Each tells whoever shows the output, when it changes.
    void setState(const ConnectionState& state);
    void setNote(const QString& note);

    void sendTick();
    // More than one telegram still unsent: the next would queue behind them.
    bool lineBacklogged();
    void lampTick();
    void lost(const PortError& error);
    void dropEcho();

    SoundingSource source_;
    SerialPort* com_out;
    Timer* Timer4;
    Timer* Timer3;
    PortReopener* reopener_;
    UdpOutput* udp_;
    const TelegramFormat* telegram_ = &telegrams::formats().standard;
    // The size of the telegram sent last: more than that still unsent means they queue up.
    qint64 lastTelegramBytes_ = 0;
    ConnectionState state_;
    QString note_;
    qint64 echoed_ = 0;
};
