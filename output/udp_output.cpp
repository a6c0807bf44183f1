#include "output/udp_output.h"

#include "output/udp_sender.h"
#include "output/udp_target.h"
#include "platform/timer.h"

UdpOutput::UdpOutput(SoundingSource source, QObject* parent)
    : QObject(parent),
      source_(std::move(source)),
      udp_timer(new Timer(QStringLiteral("udp_timer"), 1000, this)),
      sender_(new UdpSender(this)) {
    connect(udp_timer, &Timer::tick, this, &UdpOutput::tick);
    connect(sender_, &UdpSender::sent, this,
            [this](const QString& to) { setState(ConnectionState::connected(to)); });
    connect(sender_, &UdpSender::failed, this,
            [this](const QString& reason) { setState(ConnectionState::failed(reason)); });
}

void UdpOutput::start(const std::optional<SendIntervals>& intervals, const QString& target) {
    target_ = target;
    if (!intervals) {
        udp_timer->setEnabled(false);
        setState(ConnectionState::failed(sendIntervalRefused()));
        return;
    }
    udp_timer->setInterval(intervals->send);
    udp_timer->setEnabled(true);
    aimAtTarget();
}

void UdpOutput::aim(const QString& target) {
    target_ = target;
    if (udp_timer->isEnabled()) {
        aimAtTarget();
    }
}

void UdpOutput::stop() {
    udp_timer->setEnabled(false);
    sender_->stop();
    setState(ConnectionState::idle());
}

void UdpOutput::aimAtTarget() {
    const ParsedUdpTarget parsed = parseUdpTarget(target_);
    if (!parsed.target) {
        sender_->stop();
        setState(ConnectionState::failed(parsed.problem));
        return;
    }
    sender_->aim(*parsed.target);
}

// A target that was refused is read again, and a name that could not be found is looked up
// again, at every tick until it works.
void UdpOutput::tick() {
    const std::optional<Sounding> sounding = source_();
    if (!sounding) {
        return;
    }
    if (const QString missing = telegrams::missingValue(*telegram_, *sounding);
        !missing.isEmpty()) {
        setState(ConnectionState::failed(missing));
        return;
    }
    if (!sender_->isAimed()) {
        aimAtTarget();
    }
    sender_->send(telegram_->build(*sounding));
}

void UdpOutput::setState(const ConnectionState& state) {
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}
