#pragma once
#include <QMainWindow>

#include <vector>

#include "core/filters/combchecks.h"

class QCheckBox;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace kv::stakes {
struct TChartLine;
struct TChartData;
}

// The chart window "График": line series filled point by point, and a check box that shows or
// hides the value marks of the series that carry them.
class TFormChart : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormChart(const QString& title, QWidget* parent = nullptr);

    QLineSeries* addSeries(const QString& title, QColor color, bool showMarks);
    void addSeries(const kv::filters::TChartSeries& series);
    // A stake chart line: width 2, 3 x 3 point markers when asked, the chart's next colour for 0.
    QLineSeries* addLine(const kv::stakes::TChartLine& line);
    // The stake charts: the window caption and every line of the data.
    void setChart(const kv::stakes::TChartData& data);
    void AddPoint(QLineSeries* series, double x, double y);
    QChartView* chartView() const { return m_view; }
    QCheckBox* marksBox() const { return m_marks; }
    int seriesCount() const;

private:
    void fitAxes();
    void showMarks(bool on);
    QChartView* m_view;
    QCheckBox* m_marks;
    std::vector<QLineSeries*> m_marked;
    QValueAxis* m_x;
    QValueAxis* m_y;
    double m_minX = 0, m_maxX = 1, m_minY = 0, m_maxY = 1;
    bool m_empty = true;
};
