#pragma once
#include <QMainWindow>

#include <vector>

#include "core/filters/combchecks.h"

class AnalysisChart;
class QCheckBox;
class QChartView;
class QLineSeries;

namespace kv::stakes {
struct TChartLine;
struct TChartData;
}

// The chart window "График": line series filled point by point, a check box that shows or
// hides the value marks of the series that carry them and one that starts the y axis at 0.
class TFormChart : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormChart(const QString& title, QWidget* parent = nullptr);

    QLineSeries* addSeries(const QString& title, QColor color, bool showMarks);
    void addSeries(const kv::filters::TChartSeries& series);
    // A stake chart line: width 2, 3 x 3 point markers when asked, the chart's next colour for 0.
    QLineSeries* addLine(const kv::stakes::TChartLine& line);
    // The stake charts: the window caption and every line of the data.
    void setChart(const kv::stakes::TChartData& chart);
    void AddPoint(QLineSeries* series, double x, double y);
    QChartView* chartView() const;
    AnalysisChart* chart() const { return m_view; }
    QCheckBox* marksBox() const { return m_marks; }
    QCheckBox* zeroBox() const { return m_zero; }
    int seriesCount() const;

private:
    void showMarks(bool on);
    void track(QLineSeries* series);
    AnalysisChart* m_view;
    QCheckBox* m_marks;
    QCheckBox* m_zero;
    std::vector<QLineSeries*> m_marked;
};
