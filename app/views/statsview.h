#pragma once
#include <QAbstractTableModel>
#include <QWidget>

#include "core/filters/filterset.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "app/viewhost.h"

class QComboBox;
class QSpinBox;
class QSplitter;
class QTableView;
class AnalysisChart;
class QCheckBox;
class QToolButton;

// The statistics table as a virtual model; sorting goes through the core table.
class StatTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatTableModel(kv::stats::TStatTable& table, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_table(table) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    void reload();

private:
    kv::stats::TStatTable& m_table;
};

// The statistics view: method chooser, window length, the table and its chart.
class StatsView : public ContextView {
    Q_OBJECT
public:
    explicit StatsView(const ViewContext& ctx);

    // Fills the chooser from the registry, keeping the selected position when asked.
    void fillChooser(const kv::stats::TChoosers& choosers, bool keepSelection);
    // Builds table and chart (without force only when an input changed).
    void build(bool force);
    // Registry index of the chosen method, -1 when none.
    int chosenMethod() const;
    // The chosen method by its code, which survives a change of the registry between sessions
    // ("" when none); an unknown code chooses nothing.
    std::string chosenMethodCode() const;
    void chooseMethodCode(const std::string& code);
    void applyNormColumns();
    // Puts the view's commands on its buttons (after the main window created them).
    void attachCommands();
    // Registers the statistic filters on the selected table rows.
    void createCommands();
    // Registers the table's own commands: rebuild, the comparison with the full set and the
    // ideal distribution line.
    void createTableCommands();
    // "Экспорт ... в Microsoft Excel" of what the view shows, at the end of its context menu.
    void createExportCommand();
    std::vector<int> selectedRows() const;
    void statFilter(bool exclude);
    // A scenario built the table: show its method, window, order and marked rows without
    // building anything.
    void showState(const kv::filters::TStatViewState& state);
    // Shows the table as it stands, in the order it has.
    void showTable();

    // The chosen method comes back once the registry first fills the chooser.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    QComboBox* chooser() const { return m_chooser; }
    QTableView* tableView() const { return m_view; }
    kv::stats::TStatTable& table() { return m_table; }
    AnalysisChart* chartView() const { return m_chart; }
    QCheckBox* zeroBox() const { return m_zero; }

private:
    // The method and length go to the shared state whenever either changes, signals blocked or not.
    void publishStatistics();
    void drawChart();

    // The workspace's table: a scenario run rebuilds it without this view.
    kv::stats::TStatTable& m_table;
    std::shared_ptr<void> m_stateAnnounced;
    std::vector<int> m_methods;   // chooser position -> registry index
    std::string m_savedMethod;    // the method code of the window settings, until the chooser is filled
    QComboBox* m_chooser;
    QSpinBox* m_length;
    QToolButton* m_refresh;
    QSplitter* m_splitter;
    QTableView* m_view;
    StatTableModel* m_model;
    AnalysisChart* m_chart;
    QCheckBox* m_zero;
};
