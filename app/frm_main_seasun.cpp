#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "input/frm_sst.h"

// Choosing the instrument offers its port settings and its coefficient window; the settings
// reach the port only with the next "Start Connection".
void frm_main::showCoefficientWindow() {
    ui->Text2->setText(QStringLiteral("1200,O,8,1"));
    if (!coefficientWindow) {
        coefficientWindow = new frm_sst(this);
    }
    coefficientWindow->show();
    coefficientWindow->raise();
    coefficientWindow->activateWindow();
}
