#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "logging/log_line.h"
#include "logging/log_status.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"

namespace {

QString logFileTitle() {
    return QStringLiteral("Log file");
}

Dialogs::SaveFileRequest logFileRequest(const QString& title, const QString& initialPath) {
    Dialogs::SaveFileRequest request;
    request.title = title;
    request.filters = {QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files (*.txt)")};
    request.selectedFilter = request.filters.at(1);
    request.initialPath = initialPath;
    return request;
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
    const std::optional<QString> chosen =
        services_.dialogs->chooseSaveFile(logFileRequest(QStringLiteral("Save As"), data_file));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const QString path = *chosen;
    if (!services_.dialogs->askYesNo(
            logFileTitle(), QStringLiteral("Do you want to log the data in this file?\r\n") +
                                QDir::toNativeSeparators(path))) {
        return;
    }
    // The lines sampled so far stay in memory and go to the new file with its first batch: written
    // to the old one first, they would be lost when the choice re-creates that same file.
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

void frm_main::endUnattended() {
    unattended_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Sampling goes on while the save chooser is open, and those samples are kept with the others; it
// stops before the last write, so that no sample comes after it.
void frm_main::finishLog() {
    const FileResult failure = log_writer->writeWaiting(data_file);
    if (failure && !unattended_) {
        saveWaitingLinesAs();
    }
    Timer2->setEnabled(false);
    if (log_writer->waitingLines() > 0) {
        saveToRecoveryFile(failure.value_or(QString()));
    }
}

void frm_main::saveWaitingLinesAs() {
    const auto request =
        logFileRequest(QStringLiteral("Save the log lines that could not be written"), data_file);
    if (const std::optional<QString> chosen = services_.dialogs->chooseSaveFile(request)) {
        log_writer->saveWaitingAs(*chosen);
    }
}

// The user's own data folder is there on every desktop, whatever became of the log's folder; a
// new name each time, so that no recovery file replaces another.
void frm_main::saveToRecoveryFile(const QString& reason) {
    const qsizetype waiting = log_writer->waitingLines();
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder.filePath(QStringLiteral("unwritten-log-%1.txt").arg(stamp));
    for (int n = 2; QFile::exists(path); ++n) {
        path = folder.filePath(QStringLiteral("unwritten-log-%1-%2.txt").arg(stamp).arg(n));
    }
    const QString lines =
        QStringLiteral("%1 logged lines could not be written to the log file %2 (%3)")
            .arg(QString::number(waiting), QDir::toNativeSeparators(data_file), reason);
    FileResult failure = folder.mkpath(QStringLiteral("."))
                             ? log_writer->saveWaitingAs(path)
                             : FileResult(QStringLiteral("its folder cannot be created"));
    if (failure) {
        qCritical().noquote() << QStringLiteral("%1 nor to %2 (%3); they are lost.")
                                     .arg(lines, QDir::toNativeSeparators(path), *failure);
        return;
    }
    qCritical().noquote() << lines + QStringLiteral(" and were saved to ") +
                                 QDir::toNativeSeparators(path);
    settings_store::setRecoveredLogs(settings_store::recoveredLogs() << path);
    if (!unattended_) {
        services_.dialogs->inform(logFileTitle(),
                                  QStringLiteral("%1.\r\n\r\nThey were saved to:\r\n%2")
                                      .arg(lines, QDir::toNativeSeparators(path)));
    }
}

// Told once, at the start after the one that saved them.
void frm_main::reportRecoveredLogs() {
    const QStringList paths = settings_store::recoveredLogs();
    if (paths.isEmpty()) {
        return;
    }
    settings_store::setRecoveredLogs({});
    QStringList shown;
    for (const QString& path : paths) {
        shown << QDir::toNativeSeparators(path);
    }
    const QString text = QStringLiteral(
                             "Log lines that the log file could not take when Sondrel Converter "
                             "last ended were saved to:\r\n%1")
                             .arg(shown.join(QStringLiteral("\r\n")));
    QTimer::singleShot(0, this, [this, text] { services_.dialogs->inform(logFileTitle(), text); });
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
