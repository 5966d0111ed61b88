#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/survival.h"
#include "core/scenario/scriptheader.h"
#include "core/scenario/scriptrunner.h"
#include "app/viewhost.h"

class QLabel;
class QTableView;
class QToolBar;

namespace kv::stats {
class TStatList;
}

// The scenario lines as rows: the comment, the options and the seven filters in their
// normalised text form. Row texts are made when first shown and forgotten on reload.
class ScenarioModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ScenarioModel(const kv::scenario::TScenario& scenario, const kv::stats::TStatList& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_scenario(scenario), m_list(list) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    using RowTexts = std::array<std::string, kv::scenario::ScenarioColumnCount>;
    const RowTexts& rowTexts(int row) const;

    const kv::scenario::TScenario& m_scenario;
    const kv::stats::TStatList& m_list;
    mutable std::vector<std::optional<RowTexts>> m_rows;
};

// The tab "Сценарий": the step list, its commands and the scenario status bar (lines, cycle,
// line, stakes and a free text).
class ScenarioView : public ContextView {
    Q_OBJECT
public:
    static constexpr int StatusPanels = 5;

    explicit ScenarioView(const ViewContext& ctx);
    ~ScenarioView() override;

    void createCommands();
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;
    // Puts the commands on the tab's tool bar and the view's context menu.
    void attachCommands();
    // Row count and "Строк: %d".
    void refresh();
    std::vector<int> selectedRows() const;
    int currentRow() const;
    void selectLine(int row);   // -1 clears the selection
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;

    QTableView* view() const { return m_view; }
    ScenarioModel* model() const { return m_model; }

    // The names of the selected rating rows; the rating view sets it. Without it
    // "Добавить в сценарий" stays disabled.
    std::function<std::vector<std::string>()> selectedRatingNames;
    // Adds a line per usable rating name and brings the scenario to the front when any was added.
    int ratingsToScript(const std::vector<std::string>& names);

    void scriptOpen();
    void scriptLoad();
    void scriptSave();
    void scriptAdd();
    void scriptEmpty();
    void scriptClone();
    void scriptEdit();
    void scriptDel();
    void scriptClr();
    void scriptMove(bool up);

    // --- runs ----------------------------------------------------------------------------
    kv::scenario::TScriptRunner& runner() { return *m_runner; }
    void scriptRun();
    void scriptTest();
    void scriptStop();
    void logToggle();
    void logsDelete();
    // "Отчет о тесте...": the report of the last test into an HTML file, then shown in the browser.
    void scriptReport();
    // The report into that file, with the progress window; false after a failure (shown) or Cancel.
    bool writeReport(const QString& file);
    // The window wants to close: true when it may now; during a run the run is asked to stop
    // and the window closes once it has.
    bool allowClose();

private:
    void connectRunner();
    // Reads the flags a run depends on from the window settings.
    void prepareRun();
    void runFinished();
    void showSurvival(std::vector<kv::scenario::TSurvivalRow> rows);
    kv::scenario::TScenario& scenario();
    bool selectedIsStep() const;
    // The step editor; true with the new line on confirmation.
    bool editLine(const QString& title, std::string& line);
    void openFile(bool append);
    void addAndSelect(std::string line);

    QToolBar* m_tools;      // runs and files
    QToolBar* m_lineTools;  // editing the lines
    QTableView* m_view;
    ScenarioModel* m_model;
    QLabel* m_status[StatusPanels] = {};
    std::unique_ptr<kv::scenario::TScriptRunner> m_runner;
    bool m_closeAfterRun = false;
};
