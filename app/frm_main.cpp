#include "app/frm_main.h"

#include <QCloseEvent>
#include <QIcon>
#include <QResizeEvent>

#include "app/ui_frm_main.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"

namespace {

// The height the form needs (7995 twips at 96 dpi). The outer height follows from whatever
// decorations the window manager draws: held there, the title bar of another height would cut
// off the bottom of the form or add an empty strip.
constexpr int kClientHeight = 533;

SerialPort* makeNamedPort(const Services& services, QObject* parent, const char* name) {
    SerialPort* port = services.makePort(parent);
    port->setObjectName(QString::fromLatin1(name));
    return port;
}

}  // namespace

frm_main::frm_main(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(new Ui::frm_main),
      services_(services),
      Com_in(makeNamedPort(services, this, "Com_in")),
      Com_SST(makeNamedPort(services, this, "Com_SST")),
      com_out(makeNamedPort(services, this, "com_out")),
      timer_sst(new Timer("timer_sst", 1000, this)),
      Timer2(new Timer("Timer2", 1000, this)),
      Timer3(new Timer("Timer3", 200, this)),
      Timer4(new Timer("Timer4", 1000, this)),
      udp_timer(new Timer("udp_timer", 1000, this)) {
    // The icon is compiled into this static library; without this the linker drops it.
    Q_INIT_RESOURCE(sondrel);
    ui->setupUi(this);
    const QIcon icon(QStringLiteral(":/icons/sondrel.png"));
    setWindowIcon(icon);
    ui->Picture1->setPixmap(icon.pixmap(36, 36));
    QFont resultFont = ui->Label24->font();
    resultFont.setPointSizeF(13.5);
    ui->Label24->setFont(resultFont);

    connect(ui->Command8, &QPushButton::clicked, this, &frm_main::calculate);
    connect(ui->Command1, &QPushButton::clicked, this, &frm_main::testEntry);
    setUpInput();
    setUpSeaSun();
    setUpOutput();
    setUpUdp();
    setUpLog();
    setUpLogTime();
    setUpTrust();
    connect(ui->cmd_trend, &QPushButton::clicked, this, &frm_main::showTrendWindow);

    load();
}

frm_main::~frm_main() {
    delete ui;
}

void frm_main::load() {
    bit_table = buildBitTable();
    restorePortBoxes(settings_store::kInputKey, ui->Text3, ui->Text2);
    restorePortBoxes(settings_store::kOutputKey, ui->Text5, ui->Text6);
    reportSettingsProblems();
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

void frm_main::closeEvent(QCloseEvent* event) {
    closePorts();
    finishLog();
    event->accept();
}

void frm_main::closePorts() {
    for (SerialPort* port : {com_out, Com_in, Com_SST}) {
        if (port->isOpen()) {
            port->close();
        }
    }
}

void frm_main::con2sal() {
    const auto result = seawater::practicalSalinity(conductivity, temperature, pressure);
    if (!result) {
        return;
    }
    salinity = *result;
    ui->lb_salinity->setText(number_text::formatPattern(salinity, u"0.0000"));
}

void frm_main::sv() {
    const auto velocity = seawater::soundVelocity(salinity, temperature, pressure);
    if (!velocity) {
        return;
    }
    // The field holds exactly what the two-decimal text says, so the telegrams, the log and
    // the label all carry the same figure.
    const auto rounded = number_text::roundToHundredths(*velocity);
    if (!rounded) {
        return;
    }
    soundvelocity = *rounded;
    ui->lb_sound->setText(number_text::formatGeneral(soundvelocity));
}
