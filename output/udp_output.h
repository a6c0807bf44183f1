#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "output/send_intervals.h"
#include "output/telegram_formats.h"
#include "platform/connection_state.h"

class Timer;
class UdpSender;

// What a send tick may carry now: nullopt while nothing may be sent.
using SoundingSource = std::function<std::optional<Sounding>()>;

// The UDP output: the chosen telegram as one datagram per tick of its own timer, udp_timer, to a
// target typed as host:port. Trouble is told by its state and tried again at the next tick.
class UdpOutput : public QObject {
    Q_OBJECT
public:
    UdpOutput(SoundingSource source, QObject* parent);

    // Like the serial output, the first datagram leaves one interval after the start; without
    // usable intervals nothing is sent, and the state says why.
    void start(const std::optional<SendIntervals>& intervals, const QString& target);
    // A new target, taken at once while sending.
    void aim(const QString& target);
    void stop();
    void setTelegram(const TelegramFormat& telegram) { telegram_ = &telegram; }

    const ConnectionState& state() const { return state_; }

signals:
    void stateChanged(const ConnectionState& state);

private:
    void aimAtTarget();
    void tick();
    void setState(const ConnectionState& state);

    SoundingSource source_;
    Timer* udp_timer;
    UdpSender* sender_;
    QString target_;
    const TelegramFormat* telegram_ = &telegrams::formats().standard;
    ConnectionState state_;
};
