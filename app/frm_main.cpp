#include "app/frm_main.h"

#include <QCloseEvent>
#include <QIcon>
#include <QResizeEvent>

#include "app/status_report.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "logging/log_controller.h"
#include "output/output_controller.h"
#include "platform/number_text.h"

namespace {

// The height the form needs (7995 twips at 96 dpi). The outer height follows from whatever
// decorations the window manager draws: held there, the title bar of another height would cut
// off the bottom of the form or add an empty strip.
constexpr int kClientHeight = 533;

}  // namespace

frm_main::frm_main(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(new Ui::frm_main),
      services_(services),
      input_(new InputController(services.makePort, this)),
      output_(new OutputController(
          services.makePort, [this] { return sendable(services_.steadyClock()); }, this)),
      log_(new LogController(
          services.textFiles, services.clock, [this] { return logValues(); }, this)),
      statusReport_(new StatusReport(this)) {
    // The icon is compiled into this static library; without this the linker drops it.
    Q_INIT_RESOURCE(sondrel);
    ui->setupUi(this);
    const QIcon icon(QStringLiteral(":/icons/sondrel.png"));
    setWindowIcon(icon);
    ui->Picture1->setPixmap(icon.pixmap(36, 36));
    QFont resultFont = ui->Label24->font();
    resultFont.setPointSizeF(13.5);
    ui->Label24->setFont(resultFont);
    statusReport_->watch(*input_, *output_, *log_);

    const settings_store::Options options = settings_store::options();
    connect(ui->Command8, &QPushButton::clicked, this, &frm_main::calculate);
    connect(ui->Command1, &QPushButton::clicked, this, &frm_main::testEntry);
    setUpInput();
    setUpOutput();
    setUpUdp(options);
    setUpLog(options);
    setUpTrust(options);
    setUpResume(options);
    connect(ui->cmd_trend, &QPushButton::clicked, this, &frm_main::showTrendWindow);

    load();
}

frm_main::~frm_main() {
    delete ui;
}

void frm_main::load() {
    restorePortBoxes(settings_store::kInputKey, ui->Text3, ui->Text2);
    restorePortBoxes(settings_store::kOutputKey, ui->Text5, ui->Text6);
    if (ui->ck_resume->isChecked()) {
        resume();
    }
    reportSettingsProblems(resumeProblems_);
    reportRecoveredLogs();
}

// A value without a colon (edited by hand) fills only the port box, leaving the settings box as
// it is.
void frm_main::restorePortBoxes(const char* key, QLineEdit* portBox, QLineEdit* settingsBox) {
    const QString stored = settings_store::portConfiguration(key);
    if (stored.isEmpty()) {
        return;
    }
    const settings_store::PortBoxes boxes = settings_store::splitPortConfiguration(stored);
    portBox->setText(boxes.port);
    if (boxes.settings) {
        settingsBox->setText(*boxes.settings);
    }
}

void frm_main::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    holdHeight();
}

// The height is held so that the test entry below the client area never shows; the width is
// free, and widening uncovers the calculator. A minimised window is left alone. Without a window
// manager nothing enforces the size hints, so a resize that got through is put back.
void frm_main::holdHeight() {
    if (isMinimized()) {
        return;
    }
    if (minimumHeight() != kClientHeight || maximumHeight() != kClientHeight) {
        setFixedHeight(kClientHeight);
    }
    if (height() != kClientHeight) {
        resize(width(), kClientHeight);
    }
}

// The clocks stop first, before any question, so that nothing is sampled or sent from values the
// closing instrument leaves behind; the output closes before the input.
void frm_main::closeEvent(QCloseEvent* event) {
    log_->stop();
    output_->close();
    input_->close();
    finishLog();
    event->accept();
}

void frm_main::con2sal() {
    if (computeSalinity()) {
        ui->lb_salinity->setText(number_text::formatPattern(salinity, u"0.0000"));
    }
}

void frm_main::sv() {
    if (computeSoundVelocity()) {
        ui->lb_sound->setText(number_text::formatGeneral(soundvelocity));
    }
}
