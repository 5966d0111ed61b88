#pragma once
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "app/viewhost.h"
#include "core/workspace/workspace.h"
#include "core/analysis/drawsgraph.h"
#include "core/stats/statlist.h"

class AnalysisChart;
class QCheckBox;
class QComboBox;
class QLineSeries;
class QSpinBox;
class QToolButton;
namespace kv::workspace {
class FormSettings;
}

// The tab "Графики": one charted statistic over the latest draws with the window's average and
// its most frequent value.
class GraphsView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* TabCaption = "Графики";

    explicit GraphsView(const ViewContext& ctx);

    void createCommands();
    // The chooser gets the charted methods of the registry's choosers.
    void fillChooser(const kv::stats::TChoosers& choosers, bool keepSelection);
    // Builds the chart while the tab is shown (without force only when an input changed).
    void refresh(bool force);
    int chosenMethod() const;
    bool tabShown() const { return m_ws.View().TabGraphs; }
    void tabGraphs();

    // DrawsGraphLen and the tab's state.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    QComboBox* chooser() const { return m_chooser; }
    QCheckBox* marksBox() const { return m_marks; }
    AnalysisChart* chart() const { return m_chart; }
    const kv::analysis::TDrawsGraph& graph() const { return m_builder.Graph(); }

private:
    void drawChart();
    void showTab(bool visible);

    kv::analysis::TDrawsGraphBuilder m_builder;
    std::vector<int> m_methods;   // chooser position -> registry index
    QComboBox* m_chooser;
    QSpinBox* m_length;
    QCheckBox* m_marks;
    QToolButton* m_refresh;
    AnalysisChart* m_chart;
    QLineSeries* m_values = nullptr;
};
