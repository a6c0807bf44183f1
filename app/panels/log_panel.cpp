#include "app/panels/log_panel.h"

#include <QDir>
#include <QTimer>

#include "app/status_line.h"
#include "app/ui_frm_main.h"
#include "logging/sampling_interval.h"
#include "platform/dialogs.h"

namespace {

Dialogs::SaveFileRequest logFileRequest(const QString& title, const QString& initialPath) {
    Dialogs::SaveFileRequest request;
    request.title = title;
    request.filters = {QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files (*.txt)")};
    request.selectedFilter = request.filters.at(1);
    request.initialPath = initialPath;
    return request;
}

}  // namespace

LogPanel::LogPanel(const PanelContext& context) : Panel(context) {
    Ui::frm_main& ui = context_.ui;
    Station& station = context_.station;
    ui.ck_utc->setChecked(station.options().logTimeUtc);
    connect(ui.ck_utc, &QCheckBox::toggled, &station, &Station::setLogTimeUtc);
    connect(ui.Command5, &QPushButton::clicked, this, &LogPanel::chooseLogFile);
    connect(ui.Command6, &QPushButton::clicked, this, &LogPanel::setSamplingInterval);
    connect(&station.log(), &LogController::sampled, this, [&ui](qint64 samples) {
        ui.lb_nnn->setText(QStringLiteral(" Data logged: ") + QString::number(samples));
    });
    connect(&station.log(), &LogController::stateChanged, this, &LogPanel::showStatus);
    connect(&station, &Station::logFileChanged, this, &LogPanel::showLogFile);
    connect(&station, &Station::logRefused, this, &LogPanel::tellRefused);
}

void LogPanel::show(const RunSettings& run) {
    context_.ui.Text7->setText(run.sampleIntervalText);
    showSamplingInterval(run.sampleIntervalText);
}

// A cancelled chooser ends the choice: asking again for the earlier file would let one Yes
// erase everything logged in it.
void LogPanel::chooseLogFile() {
    Dialogs& dialogs = context_.dialogs;
    const std::optional<QString> chosen = dialogs.chooseSaveFile(
        logFileRequest(QStringLiteral("Save As"), context_.station.data_file));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(*chosen);
    if (!dialogs.askYesNo(
            QStringLiteral("Log file"),
            QStringLiteral("Do you want to log the data in this file?\r\n") + shown)) {
        return;
    }
    context_.station.createLog(*chosen);
}

// An entry that gives no usable interval leaves the interval in force and its label alone.
void LogPanel::setSamplingInterval() {
    const QString typed = context_.ui.Text7->text();
    if (!context_.station.setSamplingInterval(typed)) {
        context_.dialogs.inform(QStringLiteral("Sampling Interval"),
                                samplingIntervalRefused(typed));
        return;
    }
    showSamplingInterval(typed);
}

void LogPanel::showSamplingInterval(const QString& typed) {
    context_.ui.Label18->setText(QStringLiteral("Sampling Interval is: ") + typed +
                                 QStringLiteral(" sec."));
    neverSamples_ = samplingIntervalMs(typed) == 0;
    showStatus();
}

void LogPanel::showLogFile() {
    QFont bold = context_.ui.lb_nnn->font();
    bold.setBold(true);
    context_.ui.lb_nnn->setFont(bold);
}

void LogPanel::showStatus() const {
    const ConnectionState& state = context_.station.log().state();
    // A sampling timer of 0 never ticks, and the file would stay as it is without a word.
    const auto told = [this](const QString& text) {
        if (!neverSamples_) {
            return text;
        }
        const QString never = QStringLiteral("Sampling interval 0 s: nothing is logged");
        return text.isEmpty() ? never : text + QStringLiteral("; ") + never;
    };
    ::showStatus(context_.ui.lb_log_status, told(state.text()), state.alarm(),
                 told(state.details()));
}

void LogPanel::tellRefused(const QString& path, const QString& reason, LogController::Asked asked) {
    const QString what =
        asked == LogController::Asked::Create
            ? QStringLiteral("The log file could not be created:")
            : QStringLiteral(
                  "The log file of the last run (LogFile under [Run]) cannot be written:");
    inform(QStringLiteral("%1\r\n%2\r\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

void LogPanel::inform(const QString& text) {
    context_.dialogs.inform(QStringLiteral("Log file"), text);
}

void LogPanel::reportRecoveredLogs() {
    const QStringList paths = context_.station.takeRecoveredLogs();
    if (paths.isEmpty()) {
        return;
    }
    QStringList shown;
    for (const QString& path : paths) {
        shown << QDir::toNativeSeparators(path);
    }
    const QString text = QStringLiteral(
                             "Log lines that the log file could not take when Sondrel Converter "
                             "last ended were saved to:\r\n%1")
                             .arg(shown.join(QStringLiteral("\r\n")));
    QTimer::singleShot(0, this, [this, text] { inform(text); });
}

Station::FileChooser LogPanel::rescueChooser() {
    return [this] {
        return context_.dialogs.chooseSaveFile(
            logFileRequest(QStringLiteral("Save the log lines that could not be written"),
                           context_.station.data_file));
    };
}

void LogPanel::tellRecovery(const std::optional<LogController::Recovery>& recovery) {
    if (recovery && recovery->saved) {
        inform(QStringLiteral("%1.\r\n\r\nThey were saved to:\r\n%2")
                   .arg(recovery->what, QDir::toNativeSeparators(recovery->path)));
    }
}
