#include "app/formchart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include "app/qtshell.h"

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
    setCentralWidget(m_view);
    resize(900, 600);
}

QLineSeries* TFormChart::addSeries(const QString& title, QColor color, bool showMarks)
{
    auto* series = new QLineSeries;
    series->setName(title);
    series->setColor(color);
    if (showMarks) {
        series->setPointsVisible(true);
        series->setPointLabelsVisible(true);
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
    }
    m_view->chart()->addSeries(series);
    series->attachAxis(m_x);
    series->attachAxis(m_y);
    return series;
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
    m_x->setRange(m_minX, m_maxX > m_minX ? m_maxX : m_minX + 1);
    m_y->setRange(m_minY, m_maxY > m_minY ? m_maxY * 1.05 : m_minY + 1);
}
