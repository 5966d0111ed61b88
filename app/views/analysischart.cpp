#include "app/views/analysischart.h"

#include <QChart>
#include <QCursor>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

AnalysisChart::AnalysisChart(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    // A hint in the status line: a tooltip of its own would cover the points' tooltips.
    setStatusTip(QStringLiteral("Колесо мыши: масштаб; двойной щелчок: весь график"));
}

void AnalysisChart::clear()
{
    chart()->zoomReset();
    chart()->removeAllSeries();
    for (QAbstractAxis* axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    m_x = m_y = nullptr;
}

void AnalysisChart::setUpValueAxes()
{
    m_x = new QValueAxis;
    m_y = new QValueAxis;
    m_x->setLabelFormat(QStringLiteral("%d"));
    m_y->setLabelFormat(QStringLiteral("%d"));
    chart()->addAxis(m_x, Qt::AlignBottom);
    chart()->addAxis(m_y, Qt::AlignLeft);
}

QLineSeries* AnalysisChart::addLine(const QString& title, QColor color, const QList<QPointF>& points, int width)
{
    auto* series = new QLineSeries;
    series->setName(title);
    QPen pen(color);
    pen.setWidth(width);
    series->setPen(pen);
    series->replace(points);
    chart()->addSeries(series);
    series->attachAxis(m_x);
    series->attachAxis(m_y);
    return series;
}

void AnalysisChart::addMarks(QLineSeries* line)
{
    auto* marks = new QScatterSeries;
    marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    // Size 2 marks drawn a little larger than two pixels, or the outline would hide the point.
    marks->setMarkerSize(6);
    marks->setColor(line->color());
    marks->setBorderColor(QColor(0xFF, 0x00, 0xFF));
    marks->replace(line->points());
    chart()->addSeries(marks);
    marks->attachAxis(m_x);
    marks->attachAxis(m_y);
    for (QLegendMarker* m : chart()->legend()->markers(marks)) m->setVisible(false);
    trackHover(marks, drawPointText);
}

void AnalysisChart::fitValueAxes()
{
    double minX = std::numeric_limits<double>::max(), maxX = std::numeric_limits<double>::lowest();
    double minY = 0, maxY = 1;
    for (QAbstractSeries* s : chart()->series()) {
        auto* xy = qobject_cast<QXYSeries*>(s);
        if (!xy) continue;
        for (const QPointF& p : xy->points()) {
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
    }
    if (minX > maxX) minX = maxX = 0;
    SetWholeNumberRange(m_x, minX, maxX, 0.02);
    SetWholeNumberRange(m_y, minY, maxY + (maxY - minY) * 0.08, 0);
}

void SetWholeNumberRange(QValueAxis* axis, double min, double max, double pad)
{
    if (max <= min) max = min + 1;
    const double span = max - min;
    double step = 1;
    for (double scale = 1; step * 10 < span; scale *= 10)
        for (double m : {1.0, 2.0, 5.0}) {
            step = m * scale;
            if (step * 10 >= span) break;
        }
    axis->setRange(min - span * pad, pad > 0 ? max + span * pad : std::ceil(max / step) * step);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(std::floor(min / step) * step);
    axis->setTickInterval(step);
}

void AnalysisChart::trackHover(QXYSeries* series, std::function<QString(const QPointF&)> text)
{
    connect(series, &QXYSeries::hovered, this, [series, text = std::move(text)](const QPointF& at, bool state) {
        if (!state || series->count() == 0) {
            QToolTip::hideText();
            return;
        }
        const QList<QPointF> points = series->points();
        const auto nearest = std::min_element(points.begin(), points.end(), [&at](const QPointF& a, const QPointF& b) {
            return std::abs(a.x() - at.x()) < std::abs(b.x() - at.x());
        });
        QToolTip::showText(QCursor::pos(), text(*nearest));
    });
}

QString AnalysisChart::drawPointText(const QPointF& p)
{
    const bool whole = std::abs(p.y() - std::round(p.y())) < 1e-9;
    return QStringLiteral("Тираж %1: %2").arg(qRound64(p.x())).arg(whole ? QString::number(qRound64(p.y())) : QLocale().toString(p.y(), 'f', 2));
}

void AnalysisChart::wheelEvent(QWheelEvent* event)
{
    const double factor = event->angleDelta().y() > 0 ? 1.25 : 0.8;
    const QRectF area = chart()->plotArea();
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    // The point under the mouse stays where it is.
    QRectF r(0, 0, area.width() / factor, area.height() / factor);
    r.moveLeft(at.x() - (at.x() - area.left()) / factor);
    r.moveTop(at.y() - (at.y() - area.top()) / factor);
    chart()->zoomIn(r);
    event->accept();
}

void AnalysisChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    chart()->zoomReset();
    event->accept();
}
