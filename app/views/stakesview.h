#pragma once
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QWidget>
#include <optional>
#include <string>
#include <memory>
#include <vector>

#include "core/stakes/stakecheck.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakerecord.h"
#include "app/viewhost.h"

class QTableView;
namespace kv::workspace {
class FormSettings;
struct TViewSettings;
}
namespace kv::stakes {
class TStakesFile;
struct TChartData;
}

// The stakes grid as a model: the rows are read from the stakes file when they are drawn. Model
// row r is record r (grid row r + 1 under the header).
class StakesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The numbers of columns 2 and 4 that are drawn bold blue (a list of ints).
    static constexpr int MatchedNumbersRole = Qt::UserRole + 1;

    StakesModel(kv::stakes::TStakesFile& file, QObject* parent = nullptr) : QAbstractTableModel(parent), m_file(file) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The record shown at a model row; an empty record for the empty row of an empty file and
    // for rows the file no longer has.
    kv::stakes::TStakeRecord record(int row) const;
    // Records the grid shows; an empty file still shows one empty row.
    int shownRecords() const { return m_records; }
    void setShownRecords(int records);
    void repaintAll();
    // The draw's numbers of "Результаты тиража" in ascending order (as the draws table shows
    // them with "Упорядочить MIN->MAX") or in the order they were drawn; the file keeps the latter.
    void setSortedDraws(bool sorted);

private:
    kv::stakes::TStakesFile& m_file;
    int m_records = 0;
    bool m_sortedDraws = false;
};

// Draws the stake cells: the numbers of columns 2 and 4 one by one with the matched ones bold
// blue, the profit and the comment kept 2 pixels off the cell's edge.
class StakesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The tab "Ставки": the stakes grid and the stake commands.
class StakesView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* GridName = "StakesGrid";

    explicit StakesView(const ViewContext& ctx);

    void createCommands();
    // "Экспорт ... в Microsoft Excel" of what the view shows, at the end of its context menu.
    void createExportCommand();
    // The flags' checks and the grid's column widths from the window-settings file.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;
    void resetColumns();

    // Start-up, once the file is open: an outdated file is emptied, then the grid follows it.
    void fileOpened();
    // RefreshStakeView: the grid's rows, the selection of the last row and the count in the
    // status bar's stakes panel.
    void refreshView(StakeGridRefresh how);
    // CheckStakesAndReload with the program's settings.
    bool checkStakes();
    // The archive has grown: the stakes that waited for the new draws are checked.
    void archiveGrew();

    bool logEnabled() const;
    bool scrollEnabled() const;
    bool checkOnLine() const;
    QTableView* view() const { return m_view; }
    StakesModel* model() const { return m_model; }
    // The grid follows the settings it shows: the order of the draw's numbers, and the notice
    // over the grid while the prize table is empty.
    void followSettings();
    QWidget* prizeNotice() const { return m_prizeNotice; }

signals:
    // The notice's button: "Параметры системы" at the prize table.
    void prizeTableAsked();

public:
    kv::stakes::TStakeViewHooks hooks();

    void stakeAdd();
    void stakeAddRandom();
    void stakeAddSelected();
    void stakeAddAll();
    void stakeDel();
    void stakeFilter();
    void stakeClear();
    void stakesCheckManual();
    void logStakes();
    void logStakesDelete();
    void stakesScroll();
    void stakesCheckLine();
    void stakesGraphDraws();
    void stakesGraphOverlap();
    void stakesGraphProfits();

private:
    kv::stakes::TStakesFile& file() const;
    void applyRefresh(StakeGridRefresh how);
    // A "go to last" put off during a series of stakes.
    void applyPending();
    // The selected grid rows top..bottom (1-based under the header); nothing without a selection.
    std::optional<std::pair<int, int>> selectedGridRows() const;
    // A manual stake of the combination at a list row (an empty stake for -1), through the
    // stake dialog.
    void addManualStake(int combRow);
    void addStakesForCombs(const std::vector<kv::game::TComb>& combs, bool clearSelection);
    void showChart(const std::optional<kv::stakes::TChartData>& data);
    // The names of the selected rating rows, which the overlap and profit charts follow.
    // The rating rebuilt from the whole stakes file (the last step of StakeClear).
    void refreshRatings();

    QTableView* m_view;
    StakesModel* m_model;
    QWidget* m_prizeNotice;
    bool m_pendingLast = false;
    bool m_pendingArmed = false;
    StakeGridRefresh m_due;
    std::shared_ptr<void> m_stakesAnnounced;
};
