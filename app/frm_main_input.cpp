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
    inputRetry_.setInterval(kRetryIntervalMs);
    connect(&inputRetry_, &QTimer::timeout, this, &frm_main::retryInput);
    connect(ui->Command3, &QPushButton::clicked, this, &frm_main::startInputConnection);
    connect(Com_in, &SerialPort::dataReceived, this, &frm_main::readInput);
    connect(Com_in, &SerialPort::failed, this, &frm_main::inputFailed);
}

// A connection the user asks for replaces any reopening of a vanished one; one that fails is
// not retried, because the user is there to choose again.
void frm_main::startInputConnection() {
    if (ui->op_kestrane->isChecked()) {
        inputRetry_.stop();
        connectPort(Com_in, ui->Text3, ui->Text2, settings_store::kInputKey);
    }
    if (ui->op_sst->isChecked()) {
        seaSunLost_ = false;
        if (connectPort(Com_SST, ui->Text3, ui->Text2, settings_store::kInputKey)) {
            timer_sst->setEnabled(true);
        }
    }
}

// Closes the port, configures it from the two boxes, remembers the boxes under `key` before
// opening (so a port that then fails to open is remembered all the same) and opens it. Stops at
// the first failure, keeping what the steps before it did.
bool frm_main::connectPort(SerialPort* port, QLineEdit* portBox, QLineEdit* settingsBox,
                           const char* key) {
    if (port->isOpen()) {
        port->close();
    }
    const auto number = number_text::parseInt16(portBox->text());
    if (!number) {
        qWarning().noquote()
            << QStringLiteral("\"%1\" is not a port number (1..32767)").arg(portBox->text());
        return false;
    }
    if (!reportPortResult(port->setPortNumber(*number)) ||
        !reportPortResult(port->setSettings(settingsBox->text()))) {
        return false;
    }
    rememberPortConfiguration(key, portBox->text() + QLatin1Char(':') + settingsBox->text());
    return reportPortResult(port->open());
}

// Only an unusable port number is told to the user in the window; the reason for any failure
// goes to standard error for a user who started the program from a terminal.
bool frm_main::reportPortResult(const PortResult& result) {
    if (!result) {
        return true;
    }
    qWarning().noquote() << result->reason;
    if (result->number == SerialPort::kUnusablePort) {
        services_.dialogs->inform(windowTitle(), QStringLiteral("Please choose another COM Port!"));
    }
    return false;
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
    inputRetry_.start();
}

void frm_main::retryInput() {
    if (!Com_in->isOpen() && Com_in->open()) {
        return;  // still gone
    }
    inputRetry_.stop();
    qInfo().noquote() << QStringLiteral("port %1 is back").arg(Com_in->portNumber());
}
