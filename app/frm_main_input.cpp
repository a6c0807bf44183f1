#include <QTextCursor>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "input/sea_sun_block_text.h"

namespace {

// Text4 keeps about this many of the newest characters. It is trimmed only once it has grown
// by kIncomingSlack beyond that, so trimming costs little per received piece.
constexpr int kIncomingKept = 64 * 1024;
constexpr int kIncomingSlack = 16 * 1024;

void showValue(QLabel* label, const QString& text) {
    if (!text.isEmpty()) {
        label->setText(text);
    }
}

}  // namespace

void frm_main::setUpInput() {
    // Every received piece would otherwise stay on the undo stack for as long as the window.
    ui->Text4->setUndoRedoEnabled(false);
    // Narrow tab stops keep one instrument record on one line of the box.
    ui->Text4->setTabStopDistance(48);
    // The box only shows what arrives; Tab moves on to the next control as everywhere else.
    ui->Text4->setTabChangesFocus(true);
    connect(ui->Command3, &QPushButton::clicked, this, &frm_main::startInput);
    connect(ui->op_sst, &QRadioButton::clicked, this, &frm_main::showCoefficientWindow);
    connect(ui->op_sst, &QRadioButton::toggled, this, [this](bool seaSun) {
        rememberRun(settings_store::kRunInstrument,
                    seaSun ? QStringLiteral("SeaSun") : QStringLiteral("Kestrane"));
    });
    connect(input_, &InputController::portTextsChosen, this,
            remembering(settings_store::kInputKey));
    connect(input_, &InputController::stateChanged, this, &frm_main::showInputStatus);
    connect(input_, &InputController::recordsRejectedChanged, this, &frm_main::showInputStatus);
    connect(input_, &InputController::received, this, &frm_main::showIncoming);
    connect(input_, &InputController::polled, this, &frm_main::showPolled);
    connect(input_, &InputController::reading, this, &frm_main::storeReading);
    connect(input_, &InputController::secondPassed, this, &frm_main::showTrust);
}

void frm_main::startInput() {
    const Instrument instrument =
        ui->op_sst->isChecked() ? Instrument::SeaSun : Instrument::Kestrane;
    const PortResult started = input_->start(instrument, ui->Text3->text(), ui->Text2->text());
    rememberRun(settings_store::kRunInput, started.ok());
    tellIfUnusable(started);
    expectReadings();
}

void frm_main::storeReading(const InstrumentReading& reading) {
    store(reading, services_.steadyClock());
    showValue(ui->lb_temp, reading.temperatureText);
    showValue(ui->lb_con, reading.conductivityText);
    showValue(ui->lb_press, reading.pressureText);
    if (reading.complete) {
        con2sal();
        sv();
    }
    if (reading.fresh) {
        noteReading(false);
    }
}

// Inserted at the caret, replacing any selection, like typing.
void frm_main::showIncoming(const QByteArray& bytes) {
    ui->Text4->insertPlainText(
        incomingText_.show(bytes, ui->Text4->textCursor().positionInBlock()));
    // The newest data stays in view, as it would after typing it.
    ui->Text4->ensureCursorVisible();

    QTextDocument* document = ui->Text4->document();
    const int excess = document->characterCount() - 1 - kIncomingKept;
    if (excess > kIncomingSlack) {
        QTextCursor oldest(document);
        oldest.setPosition(excess, QTextCursor::KeepAnchor);
        oldest.removeSelectedText();
    }
}

// Each poll shows only its own block.
void frm_main::showPolled(const QByteArray& block) {
    ui->Text4->setPlainText(sea_sun::blockText(block));
}
