#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "platform/settings_store.h"

void frm_main::setUpLogTime() {
    ui->ck_utc->setChecked(settings_store::options().logTimeUtc);
    connect(ui->ck_utc, &QCheckBox::toggled, this,
            [](bool checked) { rememberOption(settings_store::kLogTimeUtc, checked); });
}

// Asked at every sample, so that a change shows from the next line on; the header names no
// time zone and stays as it is.
LogTime frm_main::logTime() const {
    return ui->ck_utc->isChecked() ? LogTime::Utc : LogTime::Local;
}
