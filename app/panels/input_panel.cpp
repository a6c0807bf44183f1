#include "app/panels/input_panel.h"

#include "app/panels/port_boxes.h"
#include "app/station/station.h"
#include "app/station/status_report.h"
#include "app/status_line.h"
#include "app/ui_frm_main.h"
#include "input/frm_sst.h"
#include "input/input_controller.h"

namespace {

QRadioButton* optionOf(const PanelContext& context, const Instrument& instrument) {
    return context.window.findChild<QRadioButton*>(QLatin1String(instrument.option));
}

}  // namespace

InputPanel::InputPanel(const PanelContext& context) : Panel(context) {
    for (const Instrument& instrument : instruments::table()) {
        QRadioButton* option = optionOf(context_, instrument);
        connect(option, &QRadioButton::toggled, this, [this, &instrument](bool chosen) {
            if (chosen) {
                context_.station.chooseInstrument(instrument);
            }
        });
        connect(option, &QRadioButton::clicked, this, [this, &instrument] { offer(instrument); });
    }
    connect(context_.ui.Command3, &QPushButton::clicked, this, &InputPanel::startInput);
    const InputController& input = context_.station.input();
    connect(&input, &InputController::stateChanged, this, &InputPanel::showStatus);
    connect(&input, &InputController::recordsRejectedChanged, this, &InputPanel::showStatus);
    connect(&context_.station, &Station::trustChanged, this, &InputPanel::showStatus);
}

void InputPanel::show(const RunSettings& run) {
    port_boxes::restore(settings_store::kInputKey, *context_.ui.Text3, *context_.ui.Text2);
    optionOf(context_, *run.instrument)->setChecked(true);
}

// Choosing an instrument offers its port settings and its coefficient window; the settings reach
// the port only with the next "Start Connection".
void InputPanel::offer(const Instrument& instrument) {
    if (instrument.offeredSettings) {
        context_.ui.Text2->setText(QLatin1String(instrument.offeredSettings));
    }
    if (!instrument.coefficientWindow) {
        return;
    }
    if (!coefficientWindow_) {
        coefficientWindow_ = new frm_sst(&context_.window);
    }
    coefficientWindow_->show();
    coefficientWindow_->raise();
    coefficientWindow_->activateWindow();
}

void InputPanel::startInput() {
    for (const Instrument& instrument : instruments::table()) {
        if (optionOf(context_, instrument)->isChecked()) {
            const PortResult started = context_.station.startInput(
                instrument, context_.ui.Text3->text(), context_.ui.Text2->text());
            port_boxes::tellIfUnusable(started, context_.dialogs, context_.window);
            return;
        }
    }
}

void InputPanel::showStatus() const {
    const Station& station = context_.station;
    const ConnectionState& state = station.input().state();
    const QString note = station.readingTrust.note(station.now());
    QString text = state.text();
    const RecordPreset& records = *station.records().preset;
    const Instrument* connected = station.input().connected();
    if (connected && connected->reading == Instrument::Reading::Records &&
        &records != &record_layouts::presets().standard) {
        text += QStringLiteral(", %1 records").arg(QLatin1String(records.name));
    }
    QString details = state.details();
    if (!state.troubled() && !note.isEmpty()) {
        text = details = note;
    } else if ((state.kind == ConnectionState::Kind::Connected ||
                state.kind == ConnectionState::Kind::Listening) &&
               station.input().recordsRejected() > 0) {
        const qint64 rejected = station.input().recordsRejected();
        text += QStringLiteral(", %1 rejected").arg(recordCount(rejected));
        details = text;
    }
    ::showStatus(context_.ui.lb_in_status, text, state.alarm(), details);
}
