#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <string>
#include <utility>
#include <memory>
#include <vector>

#include "core/stakes/lucktest.h"
#include "core/stakes/ratings.h"
#include "app/viewhost.h"
#include "core/workspace/workspace.h"

class QLabel;
class QTableView;
class TFormChart;
namespace kv::workspace {
class FormSettings;
}

// The rating as a virtual model: the texts come from the core, in the array's order.
class RatingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The luck columns after the rating's own: "p (совпадения)", "q (совпадения)", "p (профит)",
    // "q (профит)".
    static constexpr int LuckColumn = kv::stakes::RatingColumnCount;
    static constexpr int ColumnCount = LuckColumn + 4;

    RatingsModel(const kv::stakes::TRatings& ratings, const kv::stakes::TLuckCache& luck, int luckDraws,
                 QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_ratings(ratings), m_luck(luck), m_luckDraws(luckDraws) {}
    void setLuckDraws(int draws) { m_luckDraws = draws; }
    // With no prizes every profit is 0: p (профит) shows "-" and the money columns say why.
    void setPrizesEmpty(bool empty) { m_prizesEmpty = empty; }
    static constexpr const char* PrizesEmptyHint =
        "Таблица выигрышей пуста (Параметры системы): профит каждой ставки равен нулю, и проверка "
        "профита на случайность ничего не показывает.";
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();
    void repaintAll();

private:
    const kv::stakes::TRatings& m_ratings;
    const kv::stakes::TLuckCache& m_luck;
    int m_luckDraws;
    bool m_prizesEmpty = false;
};

// Rating rows that are not the rating itself (a half of the last test), read-only, 24 columns.
class RatingRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RatingRowsModel(kv::stakes::TRatingsArray rows, int effMode, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_rows(std::move(rows)), m_effMode(effMode) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    kv::stakes::TRatingsArray m_rows;
    int m_effMode;
};

// The tab "Рейтинг": one row per rating row, sorted by a header click, with its commands.
class RatingsView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* ListName = kv::workspace::RatingsListName;

    explicit RatingsView(const ViewContext& ctx);

    void createCommands();
    // "Экспорт рейтинга в Microsoft Excel" of the rating as shown.
    void createExportCommand();
    void createMenus(QMenu* menu);
    // Row count, repaint, status field 5.
    void refresh();
    QTableView* view() const { return m_view; }
    RatingsModel* model() const { return m_model; }
    // The p values computed so far, for the spreadsheet export.
    const kv::stakes::TLuckCache& luck() const { return m_luck; }
    std::vector<int> selectedRows() const;
    // The names of the selected rows, in row order: what the scenario and the stake charts take.
    std::vector<std::string> selectedNames() const;

    // The window settings: efficiency mode, sort order and column widths.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    void ratingsRefresh();
    void ratingsExport();
    void setEffMode(int mode);
    // "Проверка на случайность": the p values of the selected rows (all rows when none is
    // selected) not yet known, with the progress window and its Cancel, then the q values over
    // all of those rows and the sentence under the table. A Cancel keeps what was known before.
    void ratingsLuckTest();
    // The sentence of the last luck test (hidden before the first).
    QLabel* chanceLabel() const { return m_chance; }
    // "График проверки на случайность" of the current row: its cumulative hits (profit) over
    // the band of random draws, the hold-out of the last test marked when the row is one of
    // its rows. The window deletes itself when closed.
    QWidget* ratingsLuckChart();
    // "Рейтинг последнего теста": the rating rows of the last test's tuning draws and of its
    // hold-out draws, side by side in two tabs. The window deletes itself when closed.
    QWidget* ratingsTestHalves();
    // R of the luck test: LuckTestDraws of the window settings, 10000 by default.
    int luckDraws() const { return m_luckDraws; }
    // The hit chart of the selected rows; the window is modal and deletes itself when closed.
    TFormChart* ratingsGraphOverlap();

private:
    void sortBy(int column, Qt::SortOrder order);
    void showSortIndicator();

    QTableView* m_view;
    std::shared_ptr<void> m_ratingsAnnounced;
    RatingsModel* m_model;
    QLabel* m_chance;
    kv::stakes::TLuckCache m_luck;
    int m_luckDraws = 10000;
};
