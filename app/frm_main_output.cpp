#include <QButtonGroup>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "output/output_controller.h"
#include "output/send_lamp.h"

void frm_main::setUpOutput() {
    // The options share Frame1 with the instrument choice nested in Frame2; left to automatic
    // exclusivity, which searches the whole frame, a second telegram option could stay selected.
    auto* telegramChoice = new QButtonGroup(this);
    const std::pair<QRadioButton*, Telegram> options[] = {
        {ui->op_generic, Telegram::Generic},
        {ui->op_ssv, Telegram::Svp20},
        {ui->op_micro, Telegram::AppMicrosystems}};
    for (const auto& [option, telegram] : options) {
        telegramChoice->addButton(option);
        connect(option, &QRadioButton::toggled, this, [this, telegram](bool chosen) {
            if (chosen) {
                output_->setTelegram(telegram);
                rememberRun(settings_store::kRunTelegram, telegrams::nameOf(telegram));
            }
        });
    }
    connect(ui->Command4, &QPushButton::clicked, this, &frm_main::startOutput);
    connect(ui->Command7, &QPushButton::clicked, this, &frm_main::stopOutput);
    connect(output_, &OutputController::portTextsChosen, this,
            remembering(settings_store::kOutputKey));
    connect(output_, &OutputController::stateChanged, this, &frm_main::showOutputStatus);
    connect(output_, &OutputController::noteChanged, this, &frm_main::showOutputStatus);
    connect(output_, &OutputController::echoCounted, this, &frm_main::showOutputStatus);
    connect(&output_->udp(), &UdpOutput::stateChanged, this, &frm_main::showOutputStatus);
    connect(output_, &OutputController::lampChanged, this,
            [this](bool lit) { ui->Shape1->setColor(lit ? SendLamp::kLit : SendLamp::kIdle); });
}

void frm_main::startOutput() {
    const PortResult started =
        output_->start(ui->Text5->text(), ui->Text6->text(), ui->tx_timer->text());
    rememberRun(settings_store::kRunSendInterval, ui->tx_timer->text());
    rememberRun(settings_store::kRunOutput, started.ok());
    tellIfUnusable(started);
}

void frm_main::stopOutput() {
    output_->stop();
    rememberRun(settings_store::kRunOutput, false);
}
