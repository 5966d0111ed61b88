#include "app/views/analysischart.h"

#include "app/language.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QCursor>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/util/format.h"
#include "core/util/ticks.h"

namespace {

// Ticks of a range at a round step: labels with as many decimals as the step has.
void SetTicks(QValueAxis* axis, const kv::util::TAxisTicks& t, double min, double max)
{
    axis->setRange(min, max);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(t.Min);
    axis->setTickInterval(t.Step);
    // "%d" would do for whole ticks, but Qt 6.4 draws no labels at all for it once the chart
    // localizes its numbers.
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(t.Decimals));
}

} // namespace

AnalysisChart::AnalysisChart(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    // A long series name is cut in the legend: its tooltip gives the whole name.
    chart()->legend()->setShowToolTips(true);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    // A hint in the status line: a tooltip of its own would cover the points' tooltips.
    setStatusTip(QStringLiteral("Колесо мыши: масштаб; двойной щелчок: весь график"));
    chart()->setLocalizeNumbers(true);
    chart()->setLocale(numberLocale());
}

QLocale AnalysisChart::numberLocale()
{
    // The tables write numbers with the separator of the program's settings; the charts follow
    // them, not the system's locale.
    QLocale locale = kv::util::DecimalSeparator() == ',' ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString AnalysisChart::numberText(double value)
{
    if (std::abs(value - std::round(value)) < 1e-9) return QString::number(qRound64(value));
    return numberLocale().toString(value, 'f', 2);
}

void AnalysisChart::setStartAtZero(bool on)
{
    if (on == m_startAtZero) return;
    m_startAtZero = on;
    if (m_x && m_y) fitValueAxes();
}

QCheckBox* AnalysisChart::createZeroToggle()
{
    auto* box = new QCheckBox(QStringLiteral("Ось Y от нуля"));
    box->setObjectName(QStringLiteral("ChartYFromZero"));
    box->setToolTip(QStringLiteral("Ось значений начинается с нуля; иначе она охватывает только значения графика"));
    box->setChecked(m_startAtZero);
    connect(box, &QCheckBox::toggled, this, &AnalysisChart::setStartAtZero);
    return box;
}

void AnalysisChart::setCategoriesX(const QStringList& labels)
{
    m_categories = labels;
    if (!m_x) return;
    const bool wantCategories = !labels.isEmpty();
    if (wantCategories == (qobject_cast<QCategoryAxis*>(m_x) != nullptr)) return;
    QValueAxis* axis = wantCategories ? new QCategoryAxis : new QValueAxis;
    chart()->addAxis(axis, Qt::AlignBottom);
    for (QAbstractSeries* s : chart()->series()) {
        s->detachAxis(m_x);
        s->attachAxis(axis);
    }
    chart()->removeAxis(m_x);
    delete m_x;
    m_x = axis;
}

QString AnalysisChart::xLabel(double x) const
{
    const qint64 i = qRound64(x) - 1;
    if (!m_categories.isEmpty() && i >= 0 && i < m_categories.size()) return m_categories[i];
    return numberText(x);
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
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_y->setLabelFormat(QStringLiteral("%.0f"));
    chart()->addAxis(m_x, Qt::AlignBottom);
    chart()->addAxis(m_y, Qt::AlignLeft);
}

QLineSeries* AnalysisChart::addLine(const QString& title, QColor color, const QList<QPointF>& points, int width)
{
    auto* series = new QLineSeries;
    series->setName(TrText(title));
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
    double minY = minX, maxY = maxX;
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
    if (minX > maxX) minX = maxX = minY = maxY = 0;
    chart()->setLocale(numberLocale());
    if (auto* categories = qobject_cast<QCategoryAxis*>(m_x)) {
        for (const QString& label : categories->categoriesLabels()) categories->remove(label);
        // Every label where they fit, else every k-th: about twenty under the chart.
        const qsizetype every = std::max<qsizetype>(1, (m_categories.size() + 19) / 20);
        categories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        categories->setStartValue(0);
        for (qsizetype i = 0; i < m_categories.size(); i += every)
            if (!m_categories[i].isEmpty() && !categories->categoriesLabels().contains(m_categories[i]))
                categories->append(m_categories[i], static_cast<double>(i + 1));
        categories->setRange(0.5, static_cast<double>(m_categories.size()) + 0.5);
    } else {
        SetWholeNumberRange(m_x, minX, maxX, 0.02);
    }
    if (m_startAtZero) {
        minY = std::min(minY, 0.0);
        maxY = std::max(maxY, 1.0);
    }
    // Room above the top point for its mark and label.
    const double top = maxY + std::max(maxY - minY, 1.0) * 0.05;
    bool whole = true;
    for (QAbstractSeries* s : chart()->series())
        if (auto* xy = qobject_cast<QXYSeries*>(s))
            for (const QPointF& p : xy->points()) whole = whole && std::abs(p.y() - std::round(p.y())) < 1e-9;
    // No more intervals than the plot's height has room for: a label squeezed below its own
    // height is drawn as "..." (a chart made lower by a longer window, or a larger range).
    const int room = yIntervalRoom(height());
    kv::util::TAxisTicks t = kv::util::NiceTicks(minY, top, room, whole);
    for (int n = room - 1; n >= 1 && t.Count() - 1 > room; --n) t = kv::util::NiceTicks(minY, top, n, whole);
    SetTicks(m_y, t, t.Min, t.Max);
    m_yRoom = room;
    const QRectF plot = chart()->plotArea();
    if (plot.height() > 0 && std::abs(chart()->size().height() - height()) < 1) m_overhead = height() - plot.height();
}

int AnalysisChart::yIntervalRoom(int viewHeight) const
{
    const double line = QFontMetricsF(m_y ? m_y->labelsFont() : font()).height() * 1.4;
    const double plot = viewHeight - (m_overhead > 0 ? m_overhead : 6 * line);
    return std::clamp(static_cast<int>(plot / line), 1, 8);
}

void AnalysisChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    if (m_x && m_y && yIntervalRoom(event->size().height()) != m_yRoom) fitValueAxes();
}

void SetWholeNumberRange(QValueAxis* axis, double min, double max, double pad)
{
    const kv::util::TAxisTicks t = kv::util::NiceTicks(min, max, 10, true);
    if (max <= min) max = min + 1;
    const double span = max - min;
    SetTicks(axis, t, min - span * pad, pad > 0 ? max + span * pad : t.Max);
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
    return QStringLiteral("Тираж %1: %2").arg(qRound64(p.x())).arg(numberText(p.y()));
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
