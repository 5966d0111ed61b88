#include "app/testcharts.h"

#include "app/language.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/scenario/testreport.h"
#include "core/util/ticks.h"

namespace {

QValueAxis* addAxis(QChart* chart, Qt::Alignment where, const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(TrText(title));
    chart->addAxis(axis, where);
    return axis;
}

// Ticks at round values (the axes' own tick count would put "%d" labels between whole draws).
void niceRange(QValueAxis* axis, double min, double max, bool whole)
{
    const kv::util::TAxisTicks t = kv::util::NiceTicks(min, max, 6, whole);
    axis->setRange(t.Min, t.Max);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(t.Min);
    axis->setTickInterval(t.Step);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(t.Decimals) + QStringLiteral("f"));
}

void attach(QChart* chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

QChartView* NewBandChart(const kv::stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw, int32_t holdoutFrom,
                         QWidget* parent)
{
    const kv::scenario::TBandLines lines = kv::scenario::ReportBandLines(band, profit, expectedProfitRaw);
    auto* chart = new QChart;
    chart->setTitle(TrText(QString::fromUtf8(kv::scenario::BandChartTitle(profit))));
    QValueAxis* x = addAxis(chart, Qt::AlignBottom, QStringLiteral("Тираж"));
    QValueAxis* y = addAxis(chart, Qt::AlignLeft, QString());
    auto* upper = new QLineSeries(chart);
    auto* lower = new QLineSeries(chart);
    auto* real = new QLineSeries;
    double ymin = 0, ymax = 0;
    for (std::size_t i = 0; i < lines.X.size(); ++i) {
        upper->append(lines.X[i], lines.High[i]);
        lower->append(lines.X[i], lines.Low[i]);
        real->append(lines.X[i], lines.Real[i]);
        ymin = std::min({ymin, lines.Low[i], lines.Real[i]});
        ymax = std::max({ymax, lines.High[i], lines.Real[i]});
    }
    auto* area = new QAreaSeries(upper, lower);
    area->setName(TrText(QString::fromUtf8(kv::scenario::BandSeriesText)));
    area->setColor(QColor(0xc6, 0xdb, 0xef));
    area->setBorderColor(QColor(0x9e, 0xca, 0xe1));
    attach(chart, area, x, y);
    real->setName(TrText(QString::fromUtf8(kv::scenario::IdeaSeriesText)));
    QPen pen(QColor(0xc6, 0x28, 0x28));
    pen.setWidth(2);
    real->setPen(pen);
    attach(chart, real, x, y);
    niceRange(y, ymin, ymax, !profit);
    if (!lines.X.empty()) niceRange(x, lines.X.front(), std::max(lines.X.back(), lines.X.front() + 1), true);
    if (holdoutFrom > 0 && !lines.X.empty() && holdoutFrom <= lines.X.back()) {
        auto* mark = new QLineSeries;
        mark->setName(TrText(QString::fromUtf8(kv::scenario::HoldoutMarkText)));
        mark->append(holdoutFrom - 0.5, y->min());
        mark->append(holdoutFrom - 0.5, y->max());
        QPen dashed(QColor(0xe0, 0x70, 0x00));
        dashed.setWidth(2);
        dashed.setStyle(Qt::DashLine);
        mark->setPen(dashed);
        attach(chart, mark, x, y);
    }
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(600, 300);
    return view;
}

QChartView* NewSurvivalChart(const std::vector<kv::scenario::TSurvivalRow>& rows, QWidget* parent)
{
    auto* chart = new QChart;
    chart->setTitle(TrText(QStringLiteral("Выживаемость фильтров, % (95% интервал Вильсона)")));
    QValueAxis* x = addAxis(chart, Qt::AlignBottom, QStringLiteral("Фильтр (строка таблицы)"));
    QValueAxis* y = addAxis(chart, Qt::AlignLeft, QStringLiteral("%"));
    // A tick under every filter (every few of many), none between them.
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(0.5, double(rows.size()) + 0.5);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    x->setTickInterval(std::max(1.0, std::ceil(double(rows.size()) / 20)));
    y->setRange(0, 100);
    const bool holdout = kv::scenario::SurvivalHasHoldout(rows);
    const auto scatter = [&](const QString& name, QColor color, QScatterSeries::MarkerShape shape) {
        auto* s = new QScatterSeries;
        s->setName(TrText(name));
        s->setColor(color);
        s->setBorderColor(color);
        s->setMarkerShape(shape);
        s->setMarkerSize(9);
        return s;
    };
    QScatterSeries* tune = scatter(holdout ? QStringLiteral("Настройка") : QStringLiteral("Выживаемость"), QColor(0x1f, 0x5f, 0xa8),
                                   QScatterSeries::MarkerShapeCircle);
    QScatterSeries* held = scatter(QStringLiteral("Контроль"), QColor(0xe0, 0x70, 0x00), QScatterSeries::MarkerShapeCircle);
    QScatterSeries* kept = scatter(QStringLiteral("Доля оставленных"), QColor(0x77, 0x77, 0x77), QScatterSeries::MarkerShapeRectangle);
    const auto interval = [&](double at, double low, double high, QColor color) {
        auto* line = new QLineSeries;
        line->append(at, low * 100);
        line->append(at, high * 100);
        QPen pen(color);
        pen.setWidth(2);
        line->setPen(pen);
        attach(chart, line, x, y);
        chart->legend()->markers(line).front()->setVisible(false);
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const kv::scenario::TSurvivalRow& r = rows[i];
        const double at = double(i + 1);
        if (r.Tests > 0) {
            interval(holdout ? at - 0.12 : at, r.Low, r.High, tune->color());
            tune->append(holdout ? at - 0.12 : at, r.Rate * 100);
        }
        if (r.HoldTests > 0) {
            interval(at + 0.12, r.HoldLow, r.HoldHigh, held->color());
            held->append(at + 0.12, r.HoldRate * 100);
        }
        kept->append(at, (r.Tests > 0 ? r.KeptShare : r.HoldKeptShare) * 100);
    }
    attach(chart, tune, x, y);
    if (holdout) attach(chart, held, x, y);
    else delete held;
    attach(chart, kept, x, y);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(600, 300);
    return view;
}
