#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "core/filters/comblist.h"

class QSpinBox;
class QTableView;
class TFormMain;

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

// The tab "Комбинации": the exclude-last-draws field and the list, with the list's commands.
class CombsView : public QWidget {
    Q_OBJECT
public:
    explicit CombsView(TFormMain& main);

    void createCommands();
    void refresh();   // row count, repaint, status field 3
    std::vector<int> selectedRows() const;
    QTableView* view() const { return m_view; }
    QSpinBox* excludeEdit() const { return m_exclude; }
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
    TFormMain& m_main;
    QSpinBox* m_exclude;
    QTableView* m_view;
    CombsModel* m_model;
};
