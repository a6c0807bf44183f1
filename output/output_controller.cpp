#include "output/output_controller.h"

#include "platform/timer.h"

OutputController::OutputController(const PortFactory& makePort, const SoundingSource& source,
                                   QObject* parent)
    : QObject(parent),
      source_(source),
      com_out(makePort(this)),
      Timer4(new Timer(QStringLiteral("Timer4"), 1000, this)),
      Timer3(new Timer(QStringLiteral("Timer3"), 200, this)),
      reopener_(nullptr),
      udp_(new UdpOutput(source, this)) {
    com_out->setObjectName(QStringLiteral("com_out"));
    reopener_ = new PortReopener(com_out, this);
    connect(Timer4, &Timer::tick, this, &OutputController::sendTick);
    connect(Timer3, &Timer::tick, this, &OutputController::lampTick);
    connect(com_out, &SerialPort::failed, this, &OutputController::lost);
    connect(com_out, &SerialPort::dataReceived, this, &OutputController::dropEcho);
    connect(reopener_, &PortReopener::stateChanged, this, &OutputController::setState);
}

PortResult OutputController::start(const QString& portText, const QString& settingsText,
                                   const std::optional<SendIntervals>& intervals,
                                   WhenAbsent absent) {
    setNote({});
    echoed_ = 0;
    emit echoCounted(echoed_);
    const PortReopener::Started started =
        reopener_->connect(portText, settingsText, absent,
                           [this](const QString& value) { emit portTextsChosen(value); });
    setState(started.state);
    const PortResult& result = started.result;
    if (!result.ok() && absent == WhenAbsent::Tell) {
        return result;
    }
    if (!intervals) {
        setNote(QStringLiteral("not sending: ") + sendIntervalRefused());
        return result;
    }
    Timer4->setInterval(intervals->send);
    Timer3->setInterval(intervals->lamp);
    // The lamp timer is armed by each send tick, not here.
    Timer4->setEnabled(true);
    // A send timer of 0 never ticks: the port is open and looks ready, yet stays silent.
    if (intervals->send == 0) {
        setNote(QStringLiteral("Send interval 0 ms: nothing is sent"));
    }
    return result;
}

void OutputController::stop() {
    reopener_->stop();
    if (com_out->isInUse()) {
        com_out->close();
    }
    Timer4->setEnabled(false);
    Timer3->setEnabled(false);
    setNote({});
    setState(ConnectionState::idle());
}

void OutputController::close() {
    Timer4->setEnabled(false);
    Timer3->setEnabled(false);
    reopener_->stop();
    udp_->stop();
    if (com_out->isInUse()) {
        com_out->close();
    }
}

bool OutputController::isStarted() const {
    return state_.running();
}

void OutputController::setTelegram(const TelegramFormat& telegram) {
    telegram_ = &telegram;
    udp_->setTelegram(telegram);
}

// Built from the fields at the moment of the tick, so a change of option or a new reading shows
// in the very next telegram.
void OutputController::sendTick() {
    const std::optional<Sounding> sounding = source_();
    if (!sounding || !com_out->isOpen()) {
        return;
    }
    if (const QString missing = telegrams::missingValue(*telegram_, *sounding);
        !missing.isEmpty()) {
        setNote(missing);
        return;
    }
    if (lineBacklogged()) {
        return;
    }
    emit lampChanged(true);
    const QByteArray telegram = telegram_->build(*sounding);
    lastTelegramBytes_ = telegram.size();
    if (const PortResult result = com_out->write(telegram); !result.ok()) {
        lost(result.error());
        return;
    }
    Timer3->setEnabled(true);
}

// A send interval shorter than a telegram takes at the baud rate would otherwise queue the
// telegrams in the driver, each one older when it leaves: a tick that finds more than one
// telegram still unsent sends nothing, so no telegram waits behind another and the next one
// carries the newest value.
bool OutputController::lineBacklogged() {
    const bool backlog = com_out->bytesWaitingToSend() > lastTelegramBytes_;
    setNote(backlog ? QStringLiteral("Interval too short for the line") : QString());
    return backlog;
}

void OutputController::lampTick() {
    emit lampChanged(false);
    Timer3->setEnabled(false);
}

// The device went away (unplugged adapter, receiver switched off) and the port is already
// closed. The lamp must not go on flashing as if telegrams were leaving; the send timer keeps
// running, and its ticks resume the telegrams once the port is back.
void OutputController::lost(const PortError& error) {
    emit lampChanged(false);
    Timer3->setEnabled(false);
    reopener_->start();
    setState(ConnectionState::reconnecting(error.reason));
}

// Some receivers acknowledge or echo every telegram; kept, that would fill the memory over a
// week. Counted, it shows a wiring fault.
void OutputController::dropEcho() {
    const qint64 bytes = com_out->readAll().size();
    if (bytes == 0) {
        return;
    }
    if (echoed_ == 0) {
        emit echoBegan();
    }
    echoed_ += bytes;
    emit echoCounted(echoed_);
}

QString OutputController::echo() const {
    return echoed_ > 0 ? QStringLiteral("echosounder sends back %1 bytes").arg(echoed_) : QString();
}

void OutputController::setState(const ConnectionState& state) {
    state_ = state;
    emit stateChanged(state_);
}

void OutputController::setNote(const QString& note) {
    if (note != note_) {
        note_ = note;
        emit noteChanged(note_);
    }
}
