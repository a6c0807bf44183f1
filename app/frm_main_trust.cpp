#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "platform/settings_store.h"

namespace {

// The palette's own colour for text that is not to be relied on, so it suits light and dark
// desktops alike.
void showDoubt(QLabel* label, bool doubtful) {
    QPalette look;
    if (doubtful) {
        look.setColor(QPalette::WindowText, look.color(QPalette::Disabled, QPalette::WindowText));
    }
    label->setPalette(look);
}

}  // namespace

void frm_main::setUpTrust(const settings_store::Options& options) {
    // The store has already put a default in place of anything unusable.
    staleText_ = options.staleAfter;
    ui->tx_stale->setText(staleText_);
    readingTrust.setStaleLimit(staleText_);
    ui->ck_fresh_only->setChecked(options.sendFreshOnly);
    sendFreshOnly = options.sendFreshOnly;

    connect(ui->tx_stale, &QLineEdit::editingFinished, this, &frm_main::applyStaleLimit);
    connect(ui->ck_fresh_only, &QCheckBox::toggled, this, [this](bool checked) {
        sendFreshOnly = checked;
        rememberOption(settings_store::kSendFreshOnly, checked);
    });
}

// A connected instrument that never sends (a wrong baud rate, a cable to the wrong socket) is
// told as plainly as one that stopped: its silence counts from the connection.
void frm_main::expectReadings() {
    if (const std::optional<Instrument> instrument = input_->connected()) {
        Measurement::expectReadings(services_.steadyClock(), *instrument);
        showTrust();
    }
}

void frm_main::showTrust() {
    const bool doubtful = readingTrust.doubtful(services_.steadyClock());
    if (doubtful != valuesDoubtful_) {
        valuesDoubtful_ = doubtful;
        for (QLabel* value :
             {ui->lb_temp, ui->lb_con, ui->lb_press, ui->lb_salinity, ui->lb_sound}) {
            showDoubt(value, doubtful);
        }
    }
    showInputStatus();
}

// The box shows the limit in force: a refused entry is put back before the message, whose
// taking of the focus would otherwise finish the same edit a second time.
void frm_main::applyStaleLimit() {
    const QString typed = ui->tx_stale->text();
    if (typed == staleText_) {
        return;
    }
    const std::optional<qint64> limit = ReadingTrust::staleLimitMs(typed);
    if (!limit) {
        ui->tx_stale->setText(staleText_);
        services_.dialogs->inform(
            windowTitle(),
            QStringLiteral("\"%1\" is not a positive number of seconds. Readings still count as "
                           "stale after %2 s.")
                .arg(typed, staleText_));
        return;
    }
    staleText_ = typed;
    readingTrust.setStaleLimit(*limit);
    rememberOption(settings_store::kStaleAfter, typed);
    showTrust();
}
