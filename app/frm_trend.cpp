#include "app/frm_trend.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "platform/timer.h"

namespace {

// Enough for the stretches of any ordinary run; only a line that keeps breaking needs more.
constexpr std::size_t kLinesPerQuantity = 12;
constexpr int kRefreshMs = 1000;
constexpr qint64 kMinuteMs = 60'000;
// About a plot's width in pixels: a longer span is thinned to this many stretches.
constexpr qint64 kMostStretches = 600;

const std::array<QColor, TrendHistory::kQuantities> kColours = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
    QColor(0x94, 0x67, 0xbd)};

QList<QPointF> pointsOf(const TrendHistory::Segment& segment, TrendHistory::Quantity quantity,
                        qint64 offsetMs) {
    QList<QPointF> points;
    points.reserve(qsizetype(segment.size()));
    for (const TrendHistory::Point& point : segment) {
        points.append(QPointF(double(point.ms + offsetMs), point.values[quantity]));
    }
    return points;
}

// A steady value still gets a readable scale rather than a line along the frame.
void fitAxis(QValueAxis* axis, const QList<QPointF>& points) {
    if (points.isEmpty()) {
        return;
    }
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    const double margin = std::max((high->y() - low->y()) * 0.1, 0.05);
    axis->setRange(low->y() - margin, high->y() + margin);
    axis->applyNiceNumbers();
}

}  // namespace

frm_trend::frm_trend(const TrendHistory& history, Clock clock, SteadyClock steadyClock,
                     QWidget* parent)
    : QWidget(parent, Qt::Window),
      history_(history),
      clock_(std::move(clock)),
      steadyClock_(std::move(steadyClock)),
      span_(new QComboBox(this)),
      salinity_(new QCheckBox(QStringLiteral("Salinity"), this)),
      pressure_(new QCheckBox(QStringLiteral("Pressure"), this)),
      chart_(new QChart),
      time_(new QDateTimeAxis(chart_)),
      refresh_(new Timer(QStringLiteral("trend_refresh"), kRefreshMs, this)) {
    setObjectName(QStringLiteral("frm_trend"));
    setWindowTitle(QStringLiteral("Trend"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 440);

    span_->setObjectName(QStringLiteral("cb_trend_span"));
    span_->addItem(QStringLiteral("10 minutes"), 10 * kMinuteMs);
    span_->addItem(QStringLiteral("1 hour"), 60 * kMinuteMs);
    span_->addItem(QStringLiteral("6 hours"), TrendHistory::kKeptMs);
    salinity_->setObjectName(QStringLiteral("ck_trend_salinity"));
    pressure_->setObjectName(QStringLiteral("ck_trend_pressure"));
    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Last:"), this));
    choices->addWidget(span_);
    choices->addSpacing(12);
    choices->addWidget(salinity_);
    choices->addWidget(pressure_);
    choices->addStretch();

    chart_->legend()->hide();
    time_->setFormat(QStringLiteral("HH:mm"));
    time_->setTitleText(QStringLiteral("Time"));
    chart_->addAxis(time_, Qt::AlignBottom);
    addQuantity(TrendHistory::SoundVelocity, QStringLiteral("Sound velocity (m/s)"), Qt::AlignLeft);
    addQuantity(TrendHistory::Temperature, QStringLiteral("Temperature (°C)"), Qt::AlignRight);
    addQuantity(TrendHistory::Salinity, QStringLiteral("Salinity"), Qt::AlignLeft);
    addQuantity(TrendHistory::Pressure, QStringLiteral("Pressure (bar)"), Qt::AlignRight);
    auto* view = new QChartView(chart_, this);
    view->setRenderHint(QPainter::Antialiasing);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(view);

    connect(span_, &QComboBox::currentIndexChanged, this, &frm_trend::redraw);
    connect(salinity_, &QCheckBox::toggled, this, &frm_trend::redraw);
    connect(pressure_, &QCheckBox::toggled, this, &frm_trend::redraw);
    connect(refresh_, &Timer::tick, this, &frm_trend::redraw);
    refresh_->setEnabled(true);
    redraw();
}

void frm_trend::addQuantity(TrendHistory::Quantity quantity, const QString& title,
                            Qt::Alignment side) {
    Curves& curves = curves_[quantity];
    const QColor colour = kColours[quantity];
    curves.axis = new QValueAxis(chart_);
    curves.axis->setTitleText(title);
    curves.axis->setTitleBrush(colour);
    curves.axis->setLabelsColor(colour);
    curves.axis->setLinePenColor(colour);
    // One grid, the sound velocity's: the other scales' lines would cross it at odd heights.
    curves.axis->setGridLineVisible(quantity == TrendHistory::SoundVelocity);
    chart_->addAxis(curves.axis, side);
    curves.dots = new QScatterSeries(chart_);
    curves.dots->setMarkerSize(5);
    curves.dots->setColor(colour);
    curves.dots->setBorderColor(colour);
    for (std::size_t i = 0; i < kLinesPerQuantity; ++i) {
        auto* line = new QLineSeries(chart_);
        line->setColor(colour);
        chart_->addSeries(line);
        curves.lines.push_back(line);
    }
    chart_->addSeries(curves.dots);
    for (QAbstractSeries* series : chart_->series()) {
        if (series->attachedAxes().isEmpty()) {
            series->attachAxis(time_);
            series->attachAxis(curves.axis);
        }
    }
}

bool frm_trend::shown(TrendHistory::Quantity quantity) const {
    switch (quantity) {
        case TrendHistory::Salinity:
            return salinity_->isChecked();
        case TrendHistory::Pressure:
            return pressure_->isChecked();
        default:
            return true;
    }
}

// The time axis ends at the wall clock's now and each point stands its steady age before it,
// so a clock that is set while the window is open moves the labels, not the curves.
void frm_trend::redraw() {
    const qint64 spanMs = span_->currentData().toLongLong();
    const qint64 nowMs = steadyClock_();
    const QDateTime wallNow = clock_();
    time_->setRange(wallNow.addMSecs(-spanMs), wallNow);
    const std::vector<TrendHistory::Segment> segments = history_.segments(nowMs, spanMs);
    const qint64 binMs = std::max<qint64>(1000, spanMs / kMostStretches);
    for (int q = 0; q < TrendHistory::kQuantities; ++q) {
        drawQuantity(TrendHistory::Quantity(q), segments, binMs,
                     wallNow.toMSecsSinceEpoch() - nowMs);
    }
}

// The newest stretches get the lines, so the pool running out costs only the oldest ones
// their lines.
void frm_trend::drawQuantity(TrendHistory::Quantity quantity,
                             const std::vector<TrendHistory::Segment>& segments, qint64 binMs,
                             qint64 offsetMs) {
    Curves& curves = curves_[quantity];
    const bool visible = shown(quantity);
    curves.axis->setVisible(visible);
    QList<QPointF> dots;
    QList<QPointF> all;
    std::size_t used = 0;
    for (auto segment = segments.rbegin(); segment != segments.rend(); ++segment) {
        const QList<QPointF> points =
            pointsOf(TrendHistory::thinned(*segment, quantity, binMs), quantity, offsetMs);
        all.append(points);
        if (points.size() > 1 && used < curves.lines.size()) {
            curves.lines[used++]->replace(points);
        } else {
            dots.append(points);
        }
    }
    for (std::size_t i = used; i < curves.lines.size(); ++i) {
        curves.lines[i]->clear();
    }
    for (QLineSeries* line : curves.lines) {
        line->setVisible(visible);
    }
    curves.dots->replace(dots);
    curves.dots->setVisible(visible);
    fitAxis(curves.axis, all);
}
