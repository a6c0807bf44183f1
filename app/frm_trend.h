#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "app/trend_history.h"
#include "platform/clock.h"

class QCheckBox;
class QChart;
class QComboBox;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class Timer;

// The trend of the readings: sound velocity and temperature, salinity and pressure on request,
// over the last ten minutes, hour or six hours. A view of the history that frm_main keeps, so
// that closing it loses nothing; it redraws once a second while open.
class frm_trend : public QWidget {
    Q_OBJECT
public:
    frm_trend(const TrendHistory& history, Clock clock, SteadyClock steadyClock,
              QWidget* parent = nullptr);

private:
    // One quantity's curves. Each stretch without a silence is a line of its own, so no line
    // bridges a gap; the lines are a fixed pool, and a stretch that finds no free line, as
    // after many gaps, or that is a single reading shows as dots.
    struct Curves {
        std::vector<QLineSeries*> lines;
        QScatterSeries* dots = nullptr;
        QValueAxis* axis = nullptr;
    };

    void addQuantity(TrendHistory::Quantity quantity, const QString& title, Qt::Alignment side);
    void redraw();
    void drawQuantity(TrendHistory::Quantity quantity,
                      const std::vector<TrendHistory::Segment>& segments, qint64 binMs,
                      qint64 offsetMs);
    bool shown(TrendHistory::Quantity quantity) const;

    const TrendHistory& history_;
    Clock clock_;
    SteadyClock steadyClock_;
    QComboBox* span_;
    QCheckBox* salinity_;
    QCheckBox* pressure_;
    QChart* chart_;
    QDateTimeAxis* time_;
    std::array<Curves, TrendHistory::kQuantities> curves_;
    Timer* refresh_;
};
