#include <QDir>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "logging/log_line.h"
#include "logging/log_status.h"
#include "platform/number_text.h"

namespace {

QString logFileTitle() {
    return QStringLiteral("Log file");
}

}  // namespace

void frm_main::setUpLog() {
    log_writer = std::make_unique<LogWriter>(*services_.textFiles);
    connect(ui->Command5, &QPushButton::clicked, this, &frm_main::chooseLogFile);
    connect(ui->Command6, &QPushButton::clicked, this, &frm_main::setSamplingInterval);
    connect(Timer2, &Timer::tick, this, &frm_main::takeSample);
}

// A cancelled chooser ends the choice: asking again for the earlier file would let one Yes
// erase everything logged in it.
void frm_main::chooseLogFile() {
    Dialogs::SaveFileRequest request;
    request.title = QStringLiteral("Save As");
    request.filters = {QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files (*.txt)")};
    request.selectedFilter = request.filters.at(1);
    request.initialPath = data_file;
    const std::optional<QString> chosen = services_.dialogs->chooseSaveFile(request);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const QString path = *chosen;
    if (!services_.dialogs->askYesNo(
            logFileTitle(), QStringLiteral("Do you want to log the data in this file?\r\n") +
                                QDir::toNativeSeparators(path))) {
        return;
    }
    // The lines sampled so far belong to the file in force. Should it not take them, they go to
    // the new file with its first batch rather than being lost.
    if (!data_file.isEmpty()) {
        log_writer->writeWaiting(data_file);
    }
    if (const FileResult failure = log_writer->createFile(path)) {
        services_.dialogs->inform(logFileTitle(),
                                  QStringLiteral("The log file could not be created:\r\n%1\r\n%2")
                                      .arg(QDir::toNativeSeparators(path), *failure));
        showLogStatus();
        return;
    }
    data_file = path;
    QFont bold = ui->lb_nnn->font();
    bold.setBold(true);
    ui->lb_nnn->setFont(bold);
    Timer2->setEnabled(true);
    showLogStatus();
}

// An entry that gives no usable interval leaves the interval in force and its label alone.
void frm_main::setSamplingInterval() {
    const QString typed = ui->Text7->text();
    const std::optional<double> seconds = number_text::parse(typed);
    const std::optional<int> interval =
        seconds ? number_text::toWhole(*seconds * 1000, 0, Timer::kMaxInterval) : std::nullopt;
    if (!interval) {
        services_.dialogs->inform(
            QStringLiteral("Sampling Interval"),
            QStringLiteral("\"%1\" is not a sampling interval. Please enter a number of seconds "
                           "from 0 to %2.")
                .arg(typed, number_text::formatGeneral(Timer::kMaxInterval / 1000.0)));
        return;
    }
    ui->Label18->setText(QStringLiteral("Sampling Interval is: ") + typed +
                         QStringLiteral(" sec."));
    Timer2->setInterval(*interval);
}

void frm_main::takeSample() {
    const LogValues values{conductivity, pressure, temperature, salinity, soundvelocity};
    log_writer->addSample(logLine(services_.clock(), values, logTime()), data_file);
    ui->lb_nnn->setText(QStringLiteral(" Data logged: ") + QString::number(log_writer->samples()));
    showLogStatus();
}

void frm_main::writePendingLog() {
    const qsizetype waiting = log_writer->waitingLines();
    if (data_file.isEmpty() || waiting == 0) {
        return;
    }
    if (const FileResult failure = log_writer->writeWaiting(data_file)) {
        services_.dialogs->inform(
            logFileTitle(),
            QStringLiteral("%1 logged lines could not be written to the log file:\r\n%2\r\n%3")
                .arg(QString::number(waiting), QDir::toNativeSeparators(data_file), *failure));
    }
}

void frm_main::showLogStatus() {
    const LogStatus status = logStatus(*log_writer);
    ui->lb_log_status->setText(status.text);
    ui->lb_log_status->setToolTip(status.details);
    const QString style = status.alarm ? QStringLiteral("color: red;") : QString();
    if (ui->lb_log_status->styleSheet() != style) {
        ui->lb_log_status->setStyleSheet(style);
    }
}
