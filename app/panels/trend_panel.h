#pragma once

#include <QPointer>

#include "app/panels/panel.h"
#include "app/trend_history.h"
#include "platform/clock.h"

class frm_trend;

// The trend button and the trend window; the history outlives the window that shows it.
class TrendPanel : public Panel {
public:
    TrendPanel(const PanelContext& context, Clock clock, SteadyClock steadyClock);

private:
    void record();
    void showTrendWindow();

    Clock clock_;
    SteadyClock steadyClock_;
    TrendHistory history_;
    QPointer<frm_trend> trendWindow_;
};
