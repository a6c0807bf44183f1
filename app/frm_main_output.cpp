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
    if (!connectPort(com_out, ui->Text5, ui->Text6, settings_store::kOutputKey)) {
        return;
    }
    const auto typed = number_text::parse(ui->tx_timer->text());
    const auto send = typed ? number_text::toWhole(*typed, 0, Timer::kMaxInterval) : std::nullopt;
    if (!send) {
        qWarning().noquote() << "Output port: send interval not 0 to 65535 ms:"
                             << ui->tx_timer->text();
        return;
    }
    Timer4->setInterval(*send);
    // Half of a send interval within 0..65535 always fits a timer.
    Timer3->setInterval(*number_text::toWhole(*typed / 2, 0, Timer::kMaxInterval));
    // The lamp timer is armed by each send tick, not here.
    Timer4->setEnabled(true);
}

// The lamp keeps its colour.
void frm_main::stopOutput() {
    output_reopen_->setEnabled(false);
    if (com_out->isOpen()) {
        com_out->close();
    }
    Timer4->setEnabled(false);
    Timer3->setEnabled(false);
}

// A receiver slower than the telegrams (a send interval shorter than a telegram takes at the
// baud rate) would otherwise have them queued without end, each one older when it leaves: a
// tick whose predecessor still waits sends nothing, so the next telegram carries the newest
// value.
void frm_main::sendTick() {
    if (!mayCarryFields()) {
        return;
    }
    if (!com_out->isOpen() || com_out->bytesWaitingToSend() > 0) {
        return;
    }
    ui->Shape1->setColor(SendLamp::kLit);
    if (const auto error = com_out->write(chosenTelegram())) {
        outputLost(*error);
        return;
    }
    Timer3->setEnabled(true);
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
}

void frm_main::reopenOutput() {
    if (com_out->open()) {
        return;  // still gone: try again at the next tick
    }
    output_reopen_->setEnabled(false);
    qWarning().noquote() << "Output port" << com_out->portNumber() << "reopened";
}
