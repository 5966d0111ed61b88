#pragma once
#include <QStringList>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "app/viewhost.h"
#include "core/workspace/workspace.h"
#include "core/analysis/weekstat.h"

class AnalysisChart;
class QSpinBox;
class QSplitter;
class QTableWidget;
class QToolButton;
namespace kv::workspace {
class FormSettings;
}

// The tab "Неделя": how often each number came on each weekday, shaded from white to red, and
// a chart of the current cell's row or column.
class WeekView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* TabCaption = "Неделя";

    explicit WeekView(const ViewContext& ctx);

    void createCommands();
    // Rebuilds the table while the tab is shown (without force only when an input changed).
    void refresh(bool force);
    bool tabShown() const { return m_ws.View().TabWeek; }
    void tabWeek();
    void weekFilter(bool exclude);
    // The numbers of the columns holding a selected cell, ascending.
    std::vector<int> selectedNumbers() const;
    // The short weekday names of the interface language, Monday first.
    static QStringList weekdayNames();

    // WeekLen, WeekHeight and the tab's state.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    QTableWidget* table() const { return m_table; }
    AnalysisChart* chart() const { return m_chart; }
    const kv::analysis::TWeekStat& stat() const { return m_week.Stat(); }
    void drawChart();

private:
    void fillTable();
    void showTab(bool visible);

    kv::analysis::TWeekView m_week;
    QSpinBox* m_length;
    QToolButton* m_refresh;
    QTableWidget* m_table;
    QSplitter* m_splitter;
    AnalysisChart* m_chart;
};
