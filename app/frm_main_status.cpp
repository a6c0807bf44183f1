#include <QStringList>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "seawater/plausibility.h"

void frm_main::noteReading(bool manual) {
    readingTrust_.reading(
        services_.steadyClock(),
        seawater::implausibleValue({conductivity, temperature, pressure, salinity, soundvelocity}),
        manual);
    showTrust();
    recordTrend();
}

// A connection that failed or is being restored matters most; while connected, what is known
// about the readings comes before the device they come from.
void frm_main::showInputStatus() {
    QString text = inputState_.text();
    const QString note = readingTrust_.note(services_.steadyClock());
    const bool troubled = inputState_.kind == ConnectionState::Kind::Failed ||
                          inputState_.kind == ConnectionState::Kind::Reconnecting;
    if (!troubled && !note.isEmpty()) {
        text = note;
    } else if (inputState_.kind == ConnectionState::Kind::Connected && recordsRejected_ > 0) {
        text += recordsRejected_ == 1
                    ? QStringLiteral(", 1 record rejected")
                    : QStringLiteral(", %1 records rejected").arg(recordsRejected_);
    }
    showStatus(ui->lb_in_status, text, inputState_.alarm());
}

void frm_main::showStatusLines() {
    showInputStatus();
    showOutputStatus();
}

void frm_main::showOutputStatus() {
    QStringList parts;
    for (const QString& part : {outputState_.text(), outputNote_}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    if (udpState_.kind != ConnectionState::Kind::Idle) {
        parts << QStringLiteral("UDP ") + udpState_.text();
    }
    showStatus(ui->lb_out_status, parts.join(QStringLiteral("; ")),
               outputState_.alarm() || udpState_.alarm());
}
