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
    connect(ui.tx_stale, &QLineEdit::editingFinished, this, &OptionsPanel::applyStaleLimit);
    connect(ui.ck_fresh_only, &QCheckBox::toggled, &station, &Station::setSendFreshOnly);
    connect(ui.ck_resume, &QCheckBox::toggled, &station, &Station::keepRun);
}

// The box shows the limit in force: a refused entry is put back before the message, whose
// taking of the focus would otherwise finish the same edit a second time.
void OptionsPanel::applyStaleLimit() {
    QLineEdit* box = context_.ui.tx_stale;
    const QString typed = box->text();
    const QString inForce = context_.station.staleLimitText();
    if (typed == inForce || context_.station.setStaleLimit(typed)) {
        return;
    }
    box->setText(inForce);
    context_.dialogs.inform(
        context_.window.windowTitle(),
        QStringLiteral("\"%1\" is not a positive number of seconds. Readings still count as "
                       "stale after %2 s.")
            .arg(typed, inForce));
}
