#pragma once
#include <QMainWindow>

#include "core/filters/combchecks.h"

class QChartView;
class QLineSeries;
class QValueAxis;

// The chart window "График": line series filled point by point.
class TFormChart : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormChart(const QString& title, QWidget* parent = nullptr);

    QLineSeries* addSeries(const QString& title, QColor color, bool showMarks);
    void addSeries(const kv::filters::TChartSeries& series);
    void AddPoint(QLineSeries* series, double x, double y);
    QChartView* chartView() const { return m_view; }
    int seriesCount() const;

private:
    void fitAxes();
    QChartView* m_view;
    QValueAxis* m_x;
    QValueAxis* m_y;
    double m_minX = 0, m_maxX = 1, m_minY = 0, m_maxY = 1;
    bool m_empty = true;
};
