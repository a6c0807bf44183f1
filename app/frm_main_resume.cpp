#include <QDir>

#include "app/frm_main.h"
#include "app/run_settings.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "output/output_controller.h"

void frm_main::setUpResume(const settings_store::Options& options) {
    ui->ck_resume->setChecked(options.resumeAtStart);
    connect(ui->ck_resume, &QCheckBox::toggled, this, [this](bool checked) {
        rememberOption(settings_store::kResumeAtStart, checked);
        rememberWholeRun();
    });
}

// Nobody may be there to answer: the choices come back, what ran is started again, and a device
// that is not there yet is retried quietly. What cannot be used is named in the start-up notice.
void frm_main::resume() {
    const ReadRunSettings read = readRunSettings();
    const RunSettings& run = read.run;
    resumeProblems_ = read.problems;
    (run.instrument == Instrument::SeaSun ? ui->op_sst : ui->op_kestrane)->setChecked(true);
    const std::pair<Telegram, QRadioButton*> options[] = {
        {Telegram::Generic, ui->op_generic},
        {Telegram::Svp20, ui->op_ssv},
        {Telegram::AppMicrosystems, ui->op_micro}};
    for (const auto& [telegram, option] : options) {
        option->setChecked(telegram == run.telegram);
    }
    ui->tx_timer->setText(run.sendInterval);
    ui->Text7->setText(run.sampleInterval);
    setSamplingInterval();
    startConnections(run, *input_, *output_, *this, services_.steadyClock());
    if (ui->ck_udp->isChecked()) {
        startUdp();
    }
    if (run.logFile.isEmpty()) {
        return;
    }
    if (const FileResult ready = log_->resume(run.logFile); !ready.ok()) {
        resumeProblems_ << QStringLiteral("LogFile under [Run] (\"%1\") cannot be written: %2.")
                               .arg(QDir::toNativeSeparators(run.logFile), ready.error());
        return;
    }
    logInto(run.logFile);
}

void frm_main::rememberRun(const char* key, bool value) {
    rememberRun(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

// Checked, the store holds what runs now, not what ran when it was last checked.
void frm_main::rememberWholeRun() {
    rememberRun(settings_store::kRunInstrument,
                ui->op_sst->isChecked() ? QStringLiteral("SeaSun") : QStringLiteral("Kestrane"));
    rememberRun(settings_store::kRunInput, input_->connected().has_value());
    rememberRun(settings_store::kRunOutput, output_->isStarted());
    rememberRun(settings_store::kRunTelegram, telegrams::nameOf(output_->telegram()));
    rememberRun(settings_store::kRunSendInterval, ui->tx_timer->text());
    rememberRun(settings_store::kRunLogFile, data_file);
    rememberRun(settings_store::kRunSampleInterval, samplingText_);
}
