#include <QDebug>
#include <QDir>
#include <QTimer>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "logging/log_controller.h"
#include "logging/sampling_interval.h"

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

void frm_main::setUpLog(const settings_store::Options& options) {
    ui->ck_utc->setChecked(options.logTimeUtc);
    log_->setLogTime(options.logTimeUtc ? LogTime::Utc : LogTime::Local);
    connect(ui->ck_utc, &QCheckBox::toggled, this, [this](bool checked) {
        log_->setLogTime(checked ? LogTime::Utc : LogTime::Local);
        rememberOption(settings_store::kLogTimeUtc, checked);
    });
    connect(ui->Command5, &QPushButton::clicked, this, &frm_main::chooseLogFile);
    connect(ui->Command6, &QPushButton::clicked, this, &frm_main::setSamplingInterval);
    connect(log_, &LogController::sampled, this, [this](qint64 samples) {
        ui->lb_nnn->setText(QStringLiteral(" Data logged: ") + QString::number(samples));
    });
    connect(log_, &LogController::stateChanged, this, &frm_main::showLogStatus);
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
    if (const FileResult created = log_->create(path); !created.ok()) {
        services_.dialogs->inform(logFileTitle(),
                                  QStringLiteral("The log file could not be created:\r\n%1\r\n%2")
                                      .arg(QDir::toNativeSeparators(path), created.error()));
        return;
    }
    logInto(path);
}

void frm_main::logInto(const QString& path) {
    data_file = path;
    QFont bold = ui->lb_nnn->font();
    bold.setBold(true);
    ui->lb_nnn->setFont(bold);
    rememberRun(settings_store::kRunLogFile, path);
}

// An entry that gives no usable interval leaves the interval in force and its label alone.
void frm_main::setSamplingInterval() {
    const QString typed = ui->Text7->text();
    const std::optional<int> interval = samplingIntervalMs(typed);
    if (!interval) {
        services_.dialogs->inform(QStringLiteral("Sampling Interval"),
                                  samplingIntervalRefused(typed));
        return;
    }
    ui->Label18->setText(QStringLiteral("Sampling Interval is: ") + typed +
                         QStringLiteral(" sec."));
    log_->setInterval(*interval);
    samplingText_ = typed;
    rememberRun(settings_store::kRunSampleInterval, typed);
}

void frm_main::endUnattended() {
    unattended_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frm_main::finishLog() {
    const FileResult written = log_->writeWaiting();
    if (!written.ok() && !unattended_) {
        saveWaitingLinesAs();
    }
    if (log_->waitingLines() > 0) {
        saveToRecoveryFile(written.ok() ? QString() : written.error());
    }
}

void frm_main::saveWaitingLinesAs() {
    const auto request =
        logFileRequest(QStringLiteral("Save the log lines that could not be written"), data_file);
    if (const std::optional<QString> chosen = services_.dialogs->chooseSaveFile(request)) {
        if (const FileResult saved = log_->saveWaitingAs(*chosen); !saved.ok()) {
            qCritical().noquote() << QDir::toNativeSeparators(*chosen) << "-" << saved.error();
        }
    }
}

void frm_main::saveToRecoveryFile(const QString& reason) {
    const LogController::Recovery recovery = log_->saveToRecoveryFile(reason);
    qCritical().noquote() << recovery.told;
    if (recovery.saved && !unattended_) {
        services_.dialogs->inform(logFileTitle(),
                                  QStringLiteral("%1.\r\n\r\nThey were saved to:\r\n%2")
                                      .arg(recovery.what, QDir::toNativeSeparators(recovery.path)));
    }
}

// Told once, at the start after the one that saved them.
void frm_main::reportRecoveredLogs() {
    const QStringList paths = settings_store::recoveredLogs();
    if (paths.isEmpty()) {
        return;
    }
    if (const auto forgotten = settings_store::setRecoveredLogs({}); !forgotten.ok()) {
        qWarning().noquote() << QDir::toNativeSeparators(settings_store::location()) << "-"
                             << forgotten.error();
    }
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
