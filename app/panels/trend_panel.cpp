#include "app/panels/trend_panel.h"

#include "app/frm_trend.h"
#include "app/station/station.h"
#include "app/ui_frm_main.h"

TrendPanel::TrendPanel(const PanelContext& context, Clock clock, SteadyClock steadyClock)
    : Panel(context), clock_(std::move(clock)), steadyClock_(std::move(steadyClock)) {
    connect(context_.ui.cmd_trend, &QPushButton::clicked, this, &TrendPanel::showTrendWindow);
    connect(&context_.station, &Station::readingNoted, this, &TrendPanel::record);
}

// Only fresh instrument readings are plotted: a value typed by hand is no reading of the sea,
// and an implausible one would stretch the scale until the real curve is a flat line.
void TrendPanel::record() {
    const Station& station = context_.station;
    const qint64 now = station.now();
    if (station.readingTrust.sendable(now)) {
        history_.add(
            now, {station.soundvelocity, station.temperature, station.salinity, station.pressure},
            station.readingTrust.staleLimit());
    }
}

void TrendPanel::showTrendWindow() {
    if (!trendWindow_) {
        trendWindow_ = new frm_trend(history_, clock_, steadyClock_, &context_.window);
    }
    trendWindow_->show();
    trendWindow_->raise();
    trendWindow_->activateWindow();
}
