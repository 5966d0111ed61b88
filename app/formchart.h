#pragma once
#include <QMainWindow>
#include <QList>

#include "core/filters/combchecks.h"

class QChartView;
class QCheckBox;
class QLineSeries;
class QValueAxis;
namespace kv::stakes {
struct TChartData;
}

// The chart window "График": line series filled point by point, the legend below, and the
// check box that shows or hides the value marks of the series that carry them.
class TFormChart : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormChart(const QString& title, QWidget* parent = nullptr);

    QLineSeries* addSeries(const QString& title, QColor color, bool showMarks);
    void addSeries(const kv::filters::TChartSeries& series);
    // Every line of the data, in order; a line of colour 0 takes the chart's next default colour.
    void addChart(const kv::stakes::TChartData& data);
    void AddPoint(QLineSeries* series, double x, double y);
    QChartView* chartView() const { return m_view; }
    QCheckBox* marksCheck() const { return m_marks; }
    int seriesCount() const;

private:
    void fitAxes();
    void applyMarks();
    QChartView* m_view;
    QCheckBox* m_marks;
    QValueAxis* m_x;
    QValueAxis* m_y;
    QList<QLineSeries*> m_marked;
    double m_minX = 0, m_maxX = 1, m_minY = 0, m_maxY = 1;
    bool m_empty = true;
};
