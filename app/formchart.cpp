#include "app/formchart.h"

#include <QChart>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "app/views/analysischart.h"
#include "app/language.h"
#include "core/stakes/stakecharts.h"

TFormChart::TFormChart(const QString& title, QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("График"));
    m_view = new AnalysisChart;
    m_view->chart()->setTitle(TrText(title));
    m_view->setUpValueAxes();
    // Profits and counts that differ little would lie flat over a range from 0.
    m_view->setStartAtZero(false);
    m_marks = new QCheckBox(QStringLiteral("Отображать метки на графиках"));
    m_marks->setChecked(true);
    connect(m_marks, &QCheckBox::toggled, this, &TFormChart::showMarks);
    m_zero = m_view->createZeroToggle();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_view, 1);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_marks);
    boxes->addWidget(m_zero);
    boxes->addStretch(1);
    layout->addLayout(boxes);
    setCentralWidget(central);
    resize(900, 600);
}

QChartView* TFormChart::chartView() const
{
    return m_view;
}

void TFormChart::track(QLineSeries* series)
{
    m_view->trackHover(series, [this, series](const QPointF& p) {
        return QStringLiteral("%1\n%2: %3").arg(series->name(), m_view->xLabel(p.x()), AnalysisChart::numberText(p.y()));
    });
}

QLineSeries* TFormChart::addSeries(const QString& title, QColor color, bool showMarks)
{
    auto* series = new QLineSeries;
    series->setName(TrText(title));
    series->setColor(color);
    if (showMarks) {
        series->setPointsVisible(true);
        series->setPointLabelsVisible(m_marks->isChecked());
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
        m_marked.push_back(series);
    }
    m_view->chart()->addSeries(series);
    series->attachAxis(m_view->axisX());
    series->attachAxis(m_view->axisY());
    track(series);
    return series;
}

QLineSeries* TFormChart::addLine(const kv::stakes::TChartLine& line)
{
    auto* series = new QLineSeries;
    series->setName(TrText(qs(line.Title)));
    // Added first: the chart gives a series its theme colour only while its pen is untouched.
    m_view->chart()->addSeries(series);
    series->attachAxis(m_view->axisX());
    series->attachAxis(m_view->axisY());
    QPen pen = series->pen();
    pen.setWidth(2);
    if (line.Color != 0) pen.setColor(QColor(QRgb(line.Color)));
    series->setPen(pen);
    if (line.ShowPoints) {
        series->setPointsVisible(true);
        series->setMarkerSize(3);
    }
    if (line.ShowMarks) {
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
        series->setPointLabelsVisible(m_marks->isChecked());
        m_marked.push_back(series);
    }
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(line.Points.size()));
    for (const auto& p : line.Points) points.append(QPointF(p.X, p.Y));
    series->replace(points);
    track(series);
    m_view->fitValueAxes();
    return series;
}

void TFormChart::setChart(const kv::stakes::TChartData& chart)
{
    setWindowTitle(TrText(qs(chart.Caption)));
    m_view->chart()->setTitle(TrText(qs(chart.Caption)));
    for (const auto& line : chart.Series) addLine(line);
}

void TFormChart::showMarks(bool on)
{
    for (QLineSeries* series : m_marked) series->setPointLabelsVisible(on);
}

void TFormChart::addSeries(const kv::filters::TChartSeries& line)
{
    QLineSeries* series = addSeries(qs(line.Title), QColor(QRgb(line.Color)), line.ShowMarks);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(line.Points.size()));
    for (const auto& p : line.Points) points.append(QPointF(p.X, p.Y));
    series->replace(points);
    m_view->fitValueAxes();
}

void TFormChart::AddPoint(QLineSeries* series, double x, double y)
{
    series->append(x, y);
    m_view->fitValueAxes();
}

int TFormChart::seriesCount() const
{
    return static_cast<int>(m_view->chart()->series().size());
}
