#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <memory>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "app/viewhost.h"

class QSpinBox;
class QSplitter;
class QTableView;

// The combination list as a virtual model: only the visible rows are formatted.
class CombsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CombsModel(const kv::filters::TCombList& list, QObject* parent = nullptr) : QAbstractTableModel(parent), m_list(list) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setColors(bool on, int channelSize);
    void reload();

private:
    const kv::filters::TCombList& m_list;
    bool m_colors = true;
    int m_channelSize = 4;
};

// The filter history under the combination list: what was applied, the values, the count after.
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    HistoryModel(const kv::filters::TFilterHistory& history, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_history(history) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    const kv::filters::TFilterHistory& m_history;
};

// The tab "Комбинации": the exclude-last-draws field and the list, with the list's commands.
class CombsView : public ContextView {
    Q_OBJECT
public:
    explicit CombsView(const ViewContext& ctx);

    void createCommands();
    // "Экспорт ... в Microsoft Excel" of what the view shows, at the end of its context menu.
    void createExportCommand();
    void refresh();   // row count, repaint, status field 3
    std::vector<int> selectedRows() const;
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;
    QTableView* view() const { return m_view; }
    CombsModel* model() const { return m_model; }

    void combsGen();
    void combsUndo();
    void combsDelExists();
    void combsDelSelected();
    void combsOpen();
    void combsSave();
    void combsCopy();
    void combsPaste();
    void combsSelectAll();
    void combsFindInDraws();
    void combsCheckNums();
    void combsInfo();
    void totalSumCombs();

private:
    QSpinBox* m_exclude;
    std::shared_ptr<void> m_selectionCleared;
    QTableView* m_view;
    CombsModel* m_model;
    QSplitter* m_splitter;
    QTableView* m_history;
    HistoryModel* m_historyModel;
};
