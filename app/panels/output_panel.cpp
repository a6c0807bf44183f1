#include "app/panels/output_panel.h"

#include <QButtonGroup>

#include "app/panels/port_boxes.h"
#include "app/station/station.h"
#include "app/status_line.h"
#include "app/ui_frm_main.h"
#include "output/output_controller.h"
#include "output/send_lamp.h"

namespace {

QRadioButton* optionOf(const PanelContext& context, const TelegramFormat& telegram) {
    return context.window.findChild<QRadioButton*>(QLatin1String(telegram.option));
}

}  // namespace

OutputPanel::OutputPanel(const PanelContext& context) : Panel(context) {
    Ui::frm_main& ui = context_.ui;
    Station& station = context_.station;
    // The options share Frame1 with the instrument choice nested in Frame2; left to automatic
    // exclusivity, which searches the whole frame, a second telegram option could stay selected.
    auto* telegramChoice = new QButtonGroup(this);
    for (const TelegramFormat& telegram : telegrams::formats()) {
        QRadioButton* option = optionOf(context_, telegram);
        telegramChoice->addButton(option);
        connect(option, &QRadioButton::toggled, this, [&station, &telegram](bool chosen) {
            if (chosen) {
                station.chooseTelegram(telegram);
            }
        });
    }
    connect(ui.Command4, &QPushButton::clicked, this, &OutputPanel::startOutput);
    connect(ui.Command7, &QPushButton::clicked, &station, &Station::stopOutput);
    connect(ui.tx_timer, &QLineEdit::editingFinished, this,
            [&station, &ui] { station.editSendInterval(ui.tx_timer->text(), ui.tx_udp->text()); });

    ui.tx_udp->setText(station.options().udpTarget);
    ui.ck_udp->setChecked(station.options().udpSending);
    connect(ui.ck_udp, &QCheckBox::toggled, this, [&station, &ui](bool on) {
        station.setUdpSending(on, ui.tx_timer->text(), ui.tx_udp->text());
    });
    connect(ui.tx_udp, &QLineEdit::editingFinished, this,
            [&station, &ui] { station.aimUdp(ui.tx_udp->text()); });

    const OutputController& output = station.output();
    connect(&output, &OutputController::stateChanged, this, &OutputPanel::showStatus);
    connect(&output, &OutputController::noteChanged, this, &OutputPanel::showStatus);
    connect(&output, &OutputController::echoCounted, this, &OutputPanel::showStatus);
    connect(&output.udp(), &UdpOutput::stateChanged, this, &OutputPanel::showStatus);
    connect(&output, &OutputController::lampChanged, this,
            [&ui](bool lit) { ui.Shape1->setColor(lit ? SendLamp::kLit : SendLamp::kIdle); });
}

void OutputPanel::show(const RunSettings& run) {
    port_boxes::restore(settings_store::kOutputKey, *context_.ui.Text5, *context_.ui.Text6);
    for (const TelegramFormat& telegram : telegrams::formats()) {
        optionOf(context_, telegram)->setChecked(&telegram == run.telegram);
    }
    context_.ui.tx_timer->setText(run.sendIntervalText);
}

void OutputPanel::startOutput() {
    const Ui::frm_main& ui = context_.ui;
    const PortResult started =
        context_.station.startOutput(ui.Text5->text(), ui.Text6->text(), ui.tx_timer->text());
    port_boxes::tellIfUnusable(started, context_.dialogs, context_.window);
}

void OutputPanel::showStatus() const {
    const OutputController& output = context_.station.output();
    QStringList parts;
    for (const QString& part : {output.state().text(), output.note(), output.echo()}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    const ConnectionState& udp = output.udp().state();
    if (udp.kind != ConnectionState::Kind::Idle) {
        parts << QStringLiteral("UDP ") + udp.text();
    }
    const QString text = parts.join(QStringLiteral("; "));
    ::showStatus(context_.ui.lb_out_status, text, output.state().alarm() || udp.alarm(), text);
}
