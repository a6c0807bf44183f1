#pragma once

#include <QObject>
#include <QPointer>

#include "app/panels/panel.h"
#include "app/trend_history.h"
#include "platform/clock.h"

class frm_trend;

// The trend button and the trend window; the history outlives the window that shows it.
class TrendPanel : public QObject {
    Q_OBJECT
public:
    TrendPanel(const PanelContext& context, Clock clock, SteadyClock steadyClock);

private:
    void record();
    void showTrendWindow();

    PanelContext context_;
    Clock clock_;
    SteadyClock steadyClock_;
    TrendHistory history_;
    QPointer<frm_trend> trendWindow_;
};
