#include "app/formchart.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/qtshell.h"
#include "core/stakes/stakecharts.h"

TFormChart::TFormChart(const QString& title, QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("График"));
    m_view = new QChartView;
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->chart()->setTitle(title);
    m_view->chart()->legend()->setAlignment(Qt::AlignBottom);
    m_x = new QValueAxis;
    m_y = new QValueAxis;
    m_x->setLabelFormat(QStringLiteral("%d"));
    m_view->chart()->addAxis(m_x, Qt::AlignBottom);
    m_view->chart()->addAxis(m_y, Qt::AlignLeft);
    m_marks = new QCheckBox(QStringLiteral("Отображать метки на графиках"));
    m_marks->setChecked(true);
    connect(m_marks, &QCheckBox::toggled, this, &TFormChart::showMarks);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_marks);
    setCentralWidget(central);
    resize(900, 600);
}

QLineSeries* TFormChart::addSeries(const QString& title, QColor color, bool showMarks)
{
    auto* series = new QLineSeries;
    series->setName(title);
    series->setColor(color);
    if (showMarks) {
        series->setPointsVisible(true);
        series->setPointLabelsVisible(m_marks->isChecked());
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
        m_marked.push_back(series);
    }
    m_view->chart()->addSeries(series);
    series->attachAxis(m_x);
    series->attachAxis(m_y);
    return series;
}

QLineSeries* TFormChart::addLine(const kv::stakes::TChartLine& line)
{
    auto* series = new QLineSeries;
    series->setName(qs(line.Title));
    // Added first: the chart gives a series its theme colour only while its pen is untouched.
    m_view->chart()->addSeries(series);
    series->attachAxis(m_x);
    series->attachAxis(m_y);
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
    for (const auto& p : line.Points) AddPoint(series, p.X, p.Y);
    return series;
}

void TFormChart::setChart(const kv::stakes::TChartData& data)
{
    setWindowTitle(qs(data.Caption));
    m_view->chart()->setTitle(qs(data.Caption));
    for (const auto& line : data.Series) addLine(line);
}

void TFormChart::showMarks(bool on)
{
    for (QLineSeries* series : m_marked) series->setPointLabelsVisible(on);
}

void TFormChart::addSeries(const kv::filters::TChartSeries& data)
{
    QLineSeries* series = addSeries(qs(data.Title), QColor(QRgb(data.Color)), data.ShowMarks);
    for (const auto& p : data.Points) AddPoint(series, p.X, p.Y);
}

void TFormChart::AddPoint(QLineSeries* series, double x, double y)
{
    series->append(x, y);
    if (m_empty) {
        m_minX = m_maxX = x;
        m_minY = std::min(0.0, y);
        m_maxY = y;
        m_empty = false;
    } else {
        m_minX = std::min(m_minX, x);
        m_maxX = std::max(m_maxX, x);
        m_minY = std::min(m_minY, y);
        m_maxY = std::max(m_maxY, y);
    }
    fitAxes();
}

int TFormChart::seriesCount() const
{
    return static_cast<int>(m_view->chart()->series().size());
}

void TFormChart::fitAxes()
{
    // The x values are whole numbers (draws, sums): ticks fall on whole numbers at a round
    // step, so each label stands under its own point.
    const double span = std::max(1.0, m_maxX - m_minX);
    double step = 1;
    for (double scale = 1; step * 10 < span; scale *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            step = m * scale;
            if (step * 10 >= span) break;
        }
    }
    const double pad = span * 0.03;   // room for the marks of the first and last points
    m_x->setRange(m_minX - pad, m_maxX + pad);
    m_x->setTickType(QValueAxis::TicksDynamic);
    m_x->setTickAnchor(std::floor(m_minX / step) * step);
    m_x->setTickInterval(step);
    // Headroom from the span, not from the top value: a chart of losses has a negative top.
    m_y->setRange(m_minY, m_maxY > m_minY ? m_maxY + (m_maxY - m_minY) * 0.05 : m_minY + 1);
    m_y->applyNiceNumbers();
}
