#include "app/frm_main.h"
#include "app/frm_trend.h"

// Only fresh instrument readings are plotted: a value typed by hand is no reading of the sea,
// and an implausible one would stretch the scale until the real curve is a flat line.
void frm_main::recordTrend() {
    const qint64 now = services_.steadyClock();
    if (readingTrust.sendable(now)) {
        trendHistory_.add(now, {soundvelocity, temperature, salinity, pressure},
                          readingTrust.staleLimit());
    }
}

void frm_main::showTrendWindow() {
    if (!trendWindow_) {
        trendWindow_ = new frm_trend(trendHistory_, services_.clock, services_.steadyClock, this);
    }
    trendWindow_->show();
    trendWindow_->raise();
    trendWindow_->activateWindow();
}
