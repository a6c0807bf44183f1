#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "output/output_controller.h"

// A remembered "sending" starts at once, so that a restarted PC feeds the echosounder again
// without a click.
void frm_main::setUpUdp(const settings_store::Options& options) {
    ui->tx_udp->setText(options.udpTarget);
    ui->ck_udp->setChecked(options.udpSending);
    connect(ui->ck_udp, &QCheckBox::toggled, this, &frm_main::udpSwitched);
    connect(ui->tx_udp, &QLineEdit::editingFinished, this, &frm_main::takeUdpTarget);
    connect(ui->tx_timer, &QLineEdit::editingFinished, this, [this] {
        rememberRun(settings_store::kRunSendInterval, ui->tx_timer->text());
        if (ui->ck_udp->isChecked()) {
            startUdp();
        }
    });
    if (options.udpSending) {
        startUdp();
    }
}

void frm_main::udpSwitched(bool on) {
    rememberOption(settings_store::kUdpSending, on);
    if (on) {
        startUdp();
    } else {
        output_->udp().stop();
    }
}

void frm_main::startUdp() {
    output_->udp().start(ui->tx_timer->text(), ui->tx_udp->text());
}

// Read when sending starts and when an edit is finished, not at every keystroke, so that a
// half-typed target never gets telegrams.
void frm_main::takeUdpTarget() {
    rememberOption(settings_store::kUdpTarget, ui->tx_udp->text());
    output_->udp().aim(ui->tx_udp->text());
}
