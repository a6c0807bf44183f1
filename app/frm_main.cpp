#include "app/frm_main.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QResizeEvent>

#include "app/panels/calculator_panel.h"
#include "app/panels/incoming_panel.h"
#include "app/panels/input_panel.h"
#include "app/panels/log_panel.h"
#include "app/panels/options_panel.h"
#include "app/panels/output_panel.h"
#include "app/panels/trend_panel.h"
#include "app/panels/values_panel.h"
#include "app/settings_notices.h"
#include "app/station/station.h"
#include "app/ui_frm_main.h"

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
      station_(new Station(services, settings_store::options(), Station::RunUpkeep::WhileResuming,
                           this)) {
    // The icon is compiled into this static library; without this the linker drops it.
    Q_INIT_RESOURCE(sondrel);
    ui->setupUi(this);
    const QIcon icon(QStringLiteral(":/icons/sondrel.png"));
    setWindowIcon(icon);
    ui->Picture1->setPixmap(icon.pixmap(36, 36));
    QFont resultFont = ui->Label24->font();
    resultFont.setPointSizeF(13.5);
    ui->Label24->setFont(resultFont);

    const PanelContext context{*ui, *station_, *services.dialogs, *this};
    logPanel_ = new LogPanel(context);
    panels_ = {
        new InputPanel(context),   new IncomingPanel(context),
        new OutputPanel(context),  logPanel_,
        new ValuesPanel(context),  new CalculatorPanel(context),
        new OptionsPanel(context), new TrendPanel(context, services.clock, services.steadyClock)};
    notices_ = new SettingsNotices(*station_, *services.dialogs, *this);
    load();
}

// The station goes first, so that nothing it tells on its way out reaches a panel whose controls
// are gone.
frm_main::~frm_main() {
    delete station_;
    delete ui;
}

// Without "Resume after a restart" the window starts as it was designed, nothing running and the
// choices at their defaults, with the port boxes and the options as stored. With it, nobody may
// be there to answer: the choices come back, what ran is started again, and a device that is not
// there yet is retried quietly. What cannot be used is named in the start-up notice.
void frm_main::load() {
    const ReadRunSettings read =
        station_->options().resumeAtStart ? readRunSettings() : ReadRunSettings{};
    for (Panel* panel : panels_) {
        panel->show(read.run);
    }
    station_->start(read.run);
    notices_->reportProblems(station_->recordProblems() + read.problems);
    logPanel_->reportRecoveredLogs();
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

void frm_main::endUnattended() {
    unattended_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Whoever is there is asked where the lines go that the log file cannot take; nobody is asked
// when a signal or the session's end closes the window.
void frm_main::closeEvent(QCloseEvent* event) {
    if (unattended_) {
        station_->end();
    } else {
        logPanel_->tellRecovery(station_->end(logPanel_->rescueChooser()));
    }
    event->accept();
}
