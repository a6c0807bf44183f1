#include <QButtonGroup>
#include <QDebug>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "output/send_lamp.h"
#include "output/telegrams.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"

namespace {

constexpr int kReopenIntervalMs = 1000;

}  // namespace

void frm_main::setUpOutput() {
    output_reopen_ = new Timer(QStringLiteral("output_reopen"), kReopenIntervalMs, this);
    // The options share Frame1 with the instrument choice nested in Frame2; left to automatic
    // exclusivity, which searches the whole frame, a second telegram option could stay selected.
    auto* telegramChoice = new QButtonGroup(this);
    for (QRadioButton* option : {ui->op_generic, ui->op_ssv, ui->op_micro}) {
        telegramChoice->addButton(option);
    }
    connect(ui->Command4, &QPushButton::clicked, this, &frm_main::startOutput);
    connect(ui->Command7, &QPushButton::clicked, this, &frm_main::stopOutput);
    connect(Timer4, &Timer::tick, this, &frm_main::sendTick);
    connect(Timer3, &Timer::tick, this, &frm_main::lampTick);
    connect(output_reopen_, &Timer::tick, this, &frm_main::reopenOutput);
    connect(com_out, &SerialPort::failed, this, &frm_main::outputLost);
}

// A failure ends the start and leaves what the earlier steps did: the port closed, the
// configuration stored, or the port open with the send timer as it was.
void frm_main::startOutput() {
    output_reopen_->setEnabled(false);
    outputNote_.clear();
    if (!connectPort(com_out, ui->Text5, ui->Text6, settings_store::kOutputKey, outputState_)) {
        return;
    }
    const std::optional<SendIntervals> intervals = sendIntervals();
    if (!intervals) {
        outputNote_ = QStringLiteral("not sending: ") + sendIntervalRefused();
        qWarning().noquote() << "Output port:" << outputNote_ << "-" << ui->tx_timer->text();
        showOutputStatus();
        return;
    }
    Timer4->setInterval(intervals->send);
    Timer3->setInterval(intervals->lamp);
    // The lamp timer is armed by each send tick, not here.
    Timer4->setEnabled(true);
}

std::optional<frm_main::SendIntervals> frm_main::sendIntervals() const {
    const auto typed = number_text::parse(ui->tx_timer->text());
    const auto send = typed ? number_text::toWhole(*typed, 0, Timer::kMaxInterval) : std::nullopt;
    if (!send) {
        return std::nullopt;
    }
    // Half of a send interval within 0..65535 always fits a timer.
    return SendIntervals{*send, *number_text::toWhole(*typed / 2, 0, Timer::kMaxInterval)};
}

QString frm_main::sendIntervalRefused() {
    return QStringLiteral("the ms box needs 0 to 65535");
}

// The lamp keeps its colour.
void frm_main::stopOutput() {
    output_reopen_->setEnabled(false);
    if (com_out->isOpen()) {
        com_out->close();
    }
    Timer4->setEnabled(false);
    Timer3->setEnabled(false);
    outputState_ = ConnectionState::idle();
    outputNote_.clear();
    showOutputStatus();
}

void frm_main::sendTick() {
    if (!mayCarryFields() || !com_out->isOpen() || lineBacklogged()) {
        return;
    }
    ui->Shape1->setColor(SendLamp::kLit);
    const QByteArray telegram = chosenTelegram();
    lastTelegramBytes_ = telegram.size();
    if (const auto error = com_out->write(telegram)) {
        outputLost(*error);
        return;
    }
    Timer3->setEnabled(true);
}

// A send interval shorter than a telegram takes at the baud rate would otherwise queue the
// telegrams in the driver, each one older when it leaves: a tick that finds more than one
// telegram still unsent sends nothing, so no telegram waits behind another and the next one
// carries the newest value.
bool frm_main::lineBacklogged() {
    const bool backlog = com_out->bytesWaitingToSend() > lastTelegramBytes_;
    const QString note = backlog ? QStringLiteral("Interval too short for the line") : QString();
    if (note != outputNote_) {
        outputNote_ = note;
        showOutputStatus();
    }
    return backlog;
}

void frm_main::lampTick() {
    ui->Shape1->setColor(SendLamp::kIdle);
    Timer3->setEnabled(false);
}

// Built from the fields at the moment of the tick, so a change of option or a new reading
// shows in the very next telegram.
QByteArray frm_main::chosenTelegram() const {
    if (ui->op_micro->isChecked()) {
        return telegrams::appMicrosystems(soundvelocity);
    }
    if (ui->op_ssv->isChecked()) {
        return telegrams::svp20(soundvelocity, pressure, temperature);
    }
    return telegrams::generic(soundvelocity);
}

// The device went away (unplugged adapter, receiver switched off) and the port is already
// closed. The lamp must not go on flashing as if telegrams were leaving; the send timer keeps
// running, and its ticks resume the telegrams once the port is back.
void frm_main::outputLost(const PortError& error) {
    ui->Shape1->setColor(SendLamp::kIdle);
    Timer3->setEnabled(false);
    qWarning().noquote() << "Output port" << com_out->portNumber() << "lost:" << error.reason
                         << "- reopening it once a second";
    output_reopen_->setEnabled(true);
    outputState_ = ConnectionState::reconnecting();
    showOutputStatus();
}

void frm_main::reopenOutput() {
    if (com_out->open()) {
        return;  // still gone: try again at the next tick
    }
    output_reopen_->setEnabled(false);
    qWarning().noquote() << "Output port" << com_out->portNumber() << "reopened";
    outputState_ = connectedTo(*com_out);
    showOutputStatus();
}
