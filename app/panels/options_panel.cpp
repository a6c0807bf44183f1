#include "app/panels/options_panel.h"

#include "app/station/station.h"
#include "app/ui_frm_main.h"
#include "platform/dialogs.h"

OptionsPanel::OptionsPanel(const PanelContext& context) : Panel(context) {
    Ui::frm_main& ui = context_.ui;
    Station& station = context_.station;
    const settings_store::Options& options = station.options();
    ui.tx_stale->setText(options.staleAfter);
    ui.ck_fresh_only->setChecked(options.sendFreshOnly);
    ui.ck_resume->setChecked(options.resumeAtStart);
    for (const RecordPreset& preset : record_layouts::presets()) {
        ui.cb_records->addItem(QLatin1String(preset.name));
    }
    ui.cb_records->setCurrentText(QLatin1String(station.records().preset->name));
    ui.tx_fixed_pressure->setText(options.fixedPressure);
    ui.ck_daily->setChecked(options.logDaily);
    connect(ui.ck_daily, &QCheckBox::toggled, &station, &Station::setLogDaily);
    connect(ui.cb_records, &QComboBox::activated, this, &OptionsPanel::chooseRecords);
    connect(ui.tx_fixed_pressure, &QLineEdit::editingFinished, this,
            &OptionsPanel::applyFixedPressure);
    connect(ui.tx_stale, &QLineEdit::editingFinished, this, &OptionsPanel::applyStaleLimit);
    connect(ui.ck_fresh_only, &QCheckBox::toggled, &station, &Station::setSendFreshOnly);
    connect(ui.ck_resume, &QCheckBox::toggled, &station, &Station::keepRun);
}

void OptionsPanel::applyStaleLimit() {
    const QString typed = context_.ui.tx_stale->text();
    const QString inForce = context_.station.staleLimitText();
    if (typed == inForce || context_.station.setStaleLimit(typed)) {
        return;
    }
    refuse(context_.ui.tx_stale, inForce,
           QStringLiteral("\"%1\" is not a positive number of seconds. Readings still count as "
                          "stale after %2 s.")
               .arg(typed, inForce));
}

void OptionsPanel::chooseRecords(int index) {
    const RecordPreset& preset = record_layouts::presets().rows[index];
    const QStringList problems = context_.station.chooseRecords(preset);
    if (problems.isEmpty()) {
        return;
    }
    context_.ui.cb_records->setCurrentText(QLatin1String(context_.station.records().preset->name));
    context_.dialogs.inform(
        context_.window.windowTitle(),
        QStringLiteral("The %1 records cannot be read:\r\n\r\n- %2\r\n\r\nThe %3 records are "
                       "still read.")
            .arg(QLatin1String(preset.name), problems.join(QStringLiteral("\r\n- ")),
                 QLatin1String(context_.station.records().preset->name)));
}

void OptionsPanel::applyFixedPressure() {
    const QString typed = context_.ui.tx_fixed_pressure->text();
    const QString inForce = context_.station.options().fixedPressure;
    if (typed == inForce || context_.station.setFixedPressure(typed)) {
        return;
    }
    refuse(context_.ui.tx_fixed_pressure, inForce,
           QStringLiteral("\"%1\" is not a pressure from -20 to 12000 dbar. A probe without a "
                          "pressure sensor still counts as at %2 dbar.")
               .arg(typed, inForce));
}

// Put back first: the message takes the focus, which would otherwise finish the same edit a
// second time.
void OptionsPanel::refuse(QLineEdit* box, const QString& inForce, const QString& why) {
    box->setText(inForce);
    context_.dialogs.inform(context_.window.windowTitle(), why);
}
