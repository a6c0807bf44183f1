#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "output/udp_target.h"
#include "platform/settings_store.h"

// A remembered "sending" starts at once, so that a restarted PC feeds the echosounder again
// without a click.
void frm_main::setUpUdp() {
    udpSender_ = new UdpSender(this);
    const settings_store::Options options = settings_store::options();
    ui->tx_udp->setText(options.udpTarget);
    ui->ck_udp->setChecked(options.udpSending);
    connect(ui->ck_udp, &QCheckBox::toggled, this, &frm_main::udpSwitched);
    connect(ui->tx_udp, &QLineEdit::editingFinished, this, &frm_main::takeUdpTarget);
    connect(ui->tx_timer, &QLineEdit::editingFinished, this, [this] {
        if (ui->ck_udp->isChecked()) {
            startUdp();
        }
    });
    connect(udp_timer, &Timer::tick, this, &frm_main::udpTick);
    connect(udpSender_, &UdpSender::sent, this,
            [this](const QString& to) { showUdpState(ConnectionState::connected(to)); });
    connect(udpSender_, &UdpSender::failed, this,
            [this](const QString& reason) { showUdpState(ConnectionState::failed(reason)); });
    if (options.udpSending) {
        startUdp();
    }
}

void frm_main::udpSwitched(bool on) {
    rememberOption(settings_store::kUdpSending, on);
    if (on) {
        startUdp();
        return;
    }
    udp_timer->setEnabled(false);
    udpSender_->stop();
    showUdpState(ConnectionState::idle());
}

// Like the serial output, the first telegram leaves one interval after the start.
void frm_main::startUdp() {
    const std::optional<SendIntervals> intervals = sendIntervals();
    if (!intervals) {
        udp_timer->setEnabled(false);
        showUdpState(ConnectionState::failed(sendIntervalRefused()));
        return;
    }
    udp_timer->setInterval(intervals->send);
    udp_timer->setEnabled(true);
    aimUdp();
}

// Read when sending starts and when an edit is finished, not at every keystroke, so that a
// half-typed target never gets telegrams.
void frm_main::takeUdpTarget() {
    rememberOption(settings_store::kUdpTarget, ui->tx_udp->text());
    if (ui->ck_udp->isChecked()) {
        aimUdp();
    }
}

void frm_main::aimUdp() {
    const ParsedUdpTarget parsed = parseUdpTarget(ui->tx_udp->text());
    if (!parsed.target) {
        udpSender_->stop();
        showUdpState(ConnectionState::failed(parsed.problem));
        return;
    }
    udpSender_->aim(*parsed.target);
}

// A target that was refused is read from the box again, and a name that could not be found is
// looked up again, at every tick until it works.
void frm_main::udpTick() {
    if (!mayCarryFields()) {
        return;
    }
    if (!udpSender_->isAimed()) {
        aimUdp();
    }
    udpSender_->send(chosenTelegram());
}

void frm_main::showUdpState(const ConnectionState& state) {
    if (state != udpState_) {
        udpState_ = state;
        showOutputStatus();
    }
}
