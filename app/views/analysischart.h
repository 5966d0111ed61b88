#pragma once
#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractAxis;
class QCheckBox;
class QLineSeries;
class QLocale;
class QValueAxis;
class QXYSeries;

// The chart of the analysis views: legend at the bottom, whole-number axes, a tooltip with the
// draw (or category) and the value under the mouse, zoom with the mouse wheel and back to the
// whole chart with a double click.
class AnalysisChart : public QChartView {
    Q_OBJECT
public:
    explicit AnalysisChart(QWidget* parent = nullptr);

    // Removes every series and axis.
    void clear();
    // Whole-number axes over draw numbers (x) and values (y).
    void setUpValueAxes();
    // A line over the value axes: width 2, the given colour; `points` replace what it had.
    QLineSeries* addLine(const QString& title, QColor color, const QList<QPointF>& points, int width = 2);
    // Point marks of size 2 with a magenta outline over a line's points (no legend entry).
    void addMarks(QLineSeries* line);
    // Fits both value axes to the series, x padded so that the first and last marks show; y
    // from 0 or fitted to the values (startAtZero), at round steps.
    void fitValueAxes();
    // Names the x positions 1..n by `labels` (values that are no numbers); an empty list gives
    // back the value axis. Takes effect at the next fitValueAxes.
    void setCategoriesX(const QStringList& labels);
    bool startAtZero() const { return m_startAtZero; }
    void setStartAtZero(bool on);
    // "Ось Y от нуля", kept in step with startAtZero, for the window that holds the chart.
    QCheckBox* createZeroToggle();
    // The label of x as the axis shows it: its category or the number.
    QString xLabel(double x) const;
    // A number with the decimal separator of the program's settings and no digit grouping.
    static QString numberText(double value);
    static QLocale numberLocale();
    // The tooltip of a series: `text` gives it for the nearest point of the series.
    void trackHover(QXYSeries* series, std::function<QString(const QPointF&)> text);
    // "Тираж %1: %2" for a point of a draws chart.
    static QString drawPointText(const QPointF& p);

    QValueAxis* axisX() const { return m_x; }
    QValueAxis* axisY() const { return m_y; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    // A new height may give room for more or fewer y labels.
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QValueAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
    // How many y intervals a view of that height has room for, each label at least its own
    // height and two fifths apart.
    int yIntervalRoom(int viewHeight) const;

    QStringList m_categories;
    bool m_startAtZero = true;
    int m_yRoom = 0;        // the y intervals the last fit allowed
    double m_overhead = 0;  // view height less plot height (legend, x labels, margins), once known
};

// Ticks at a round whole-number step (1, 2, 5, 10, ...) so that every label stands under a
// whole number; `pad` widens the range by that share of the span on both sides, without it
// the range ends on a tick.
void SetWholeNumberRange(QValueAxis* axis, double min, double max, double pad);
