#include <QDebug>
#include <QTextCursor>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "input/ascii_record.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"

namespace {

constexpr int kRetryIntervalMs = 1000;
// Text4 keeps about this many of the newest characters. It is trimmed only once it has grown
// by kIncomingSlack beyond that, so trimming costs little per received piece.
constexpr int kIncomingKept = 64 * 1024;
constexpr int kIncomingSlack = 16 * 1024;

}  // namespace

void frm_main::setUpInput() {
    // Every received piece would otherwise stay on the undo stack for as long as the window.
    ui->Text4->setUndoRedoEnabled(false);
    // Narrow tab stops keep one instrument record on one line of the box.
    ui->Text4->setTabStopDistance(48);
    // The box only shows what arrives; Tab moves on to the next control as everywhere else.
    ui->Text4->setTabChangesFocus(true);
    input_reopen_ = new Timer(QStringLiteral("input_reopen"), kRetryIntervalMs, this);
    connect(input_reopen_, &Timer::tick, this, &frm_main::retryInput);
    connect(ui->Command3, &QPushButton::clicked, this, &frm_main::startInputConnection);
    connect(Com_in, &SerialPort::dataReceived, this, &frm_main::readInput);
    connect(Com_in, &SerialPort::failed, this, &frm_main::inputFailed);
}

// A connection the user asks for replaces any reopening of a vanished one, of either
// instrument; one that fails is not retried, because the user is there to choose again.
void frm_main::startInputConnection() {
    input_reopen_->setEnabled(false);
    seaSunLost_ = false;
    recordsRejected_ = 0;
    if (ui->op_kestrane->isChecked() &&
        !connectPort(Com_in, ui->Text3, ui->Text2, settings_store::kInputKey, inputState_)) {
        explainHeldByOther(Com_in, Com_SST, QStringLiteral("Sea & Sun"));
    }
    if (ui->op_sst->isChecked()) {
        if (connectPort(Com_SST, ui->Text3, ui->Text2, settings_store::kInputKey, inputState_)) {
            timer_sst->setEnabled(true);
        } else {
            explainHeldByOther(Com_SST, Com_in, QStringLiteral("Kestrane"));
        }
    }
}

// Both instruments may be started on one device; the one started second cannot have it.
void frm_main::explainHeldByOther(const SerialPort* port, const SerialPort* other,
                                  const QString& otherName) {
    if (other->isOpen() && other->device() == port->device()) {
        inputState_ = ConnectionState::failed(
            QStringLiteral("%1 is held by the %2 connection").arg(port->device(), otherName));
        showInputStatus();
    }
}

// Every complete record is read, in order, before waiting for more, so the fields always end
// with the newest reading however many records one notification brings.
void frm_main::readInput() {
    const QByteArray bytes = Com_in->readAll();
    if (bytes.isEmpty()) {
        return;
    }
    showIncoming(bytes);
    for (const QByteArray& record : inputBuffer_.append(bytes)) {
        if (!storeRecord(record)) {
            recoverInput();
            return;
        }
    }
}

// Stores the fields in the order pressure, conductivity, temperature; a bad field leaves the
// ones before it stored and the labels and computed values as they were.
bool frm_main::storeRecord(QByteArrayView record) {
    const AsciiReading reading = ::readAsciiRecord(record);
    if (reading.pressure) {
        pressure = *reading.pressure;
    }
    if (reading.conductivity) {
        conductivity = *reading.conductivity;
    }
    if (!reading.complete()) {
        return false;
    }
    temperature = *reading.temperature;
    ui->lb_temp->setText(number_text::formatGeneral(temperature));
    ui->lb_con->setText(number_text::formatGeneral(conductivity));
    ui->lb_press->setText(number_text::formatGeneral(pressure * 10));
    con2sal();
    sv();
    noteReading(false);
    return true;
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

// A reading error drops whatever was half-received: close, empty the buffer, reopen with the
// number and settings the port already has. The next record read is the first that arrives
// framed by two CR LF pairs.
void frm_main::recoverInput() {
    ++recordsRejected_;
    showInputStatus();
    Com_in->close();
    inputBuffer_.clear();
    if (const PortResult result = Com_in->open()) {
        inputFailed(*result);
    }
}

// The device has gone (unplugged, read error): try the same port again about once a second,
// quietly, until it is back.
void frm_main::inputFailed(const PortError& error) {
    qWarning().noquote() << error.reason << QStringLiteral("- retrying every second");
    inputBuffer_.clear();
    input_reopen_->setEnabled(true);
    inputState_ = ConnectionState::reconnecting();
    showInputStatus();
}

void frm_main::retryInput() {
    if (!Com_in->isOpen() && Com_in->open()) {
        return;  // still gone
    }
    input_reopen_->setEnabled(false);
    qInfo().noquote() << QStringLiteral("port %1 is back").arg(Com_in->portNumber());
    inputState_ = connectedTo(*Com_in);
    showInputStatus();
}
