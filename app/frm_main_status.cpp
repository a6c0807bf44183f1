#include <QStringList>

#include "app/frm_main.h"
#include "app/status_line.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "output/output_controller.h"

void frm_main::noteReading(bool manual) {
    Measurement::noteReading(services_.steadyClock(), manual);
    showTrust();
    recordTrend();
}

// A connection that failed or is being restored matters most; while connected, what is known
// about the readings comes before the device they come from.
void frm_main::showInputStatus() {
    const ConnectionState& state = input_->state();
    const QString note = readingTrust.note(services_.steadyClock());
    QString text = state.text();
    QString details = state.details();
    if (!state.troubled() && !note.isEmpty()) {
        text = details = note;
    } else if (state.kind == ConnectionState::Kind::Connected && input_->recordsRejected() > 0) {
        const qint64 rejected = input_->recordsRejected();
        text += rejected == 1 ? QStringLiteral(", 1 record rejected")
                              : QStringLiteral(", %1 records rejected").arg(rejected);
        details = text;
    }
    showStatus(ui->lb_in_status, text, state.alarm(), details);
}

void frm_main::showOutputStatus() {
    QStringList parts;
    for (const QString& part : {output_->state().text(), output_->note(), output_->echo()}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    const ConnectionState& udp = output_->udp().state();
    if (udp.kind != ConnectionState::Kind::Idle) {
        parts << QStringLiteral("UDP ") + udp.text();
    }
    const QString text = parts.join(QStringLiteral("; "));
    showStatus(ui->lb_out_status, text, output_->state().alarm() || udp.alarm(), text);
}

void frm_main::showLogStatus() {
    const ConnectionState& state = log_->state();
    showStatus(ui->lb_log_status, state.text(), state.alarm(), state.details());
}

// The reason is on the status line before the box, so the user reads the detail behind it.
void frm_main::tellIfUnusable(const PortResult& result) {
    if (!result.ok() && result.error().number == SerialPort::kUnusablePort) {
        services_.dialogs->inform(windowTitle(), QStringLiteral("Please choose another COM Port!"));
    }
}
