#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "core/stakes/regulars.h"
#include "app/viewhost.h"

class QMenu;
class QTableView;
namespace kv::workspace {
class FormSettings;
}

// The regulars as a virtual model, in the array's order.
class RegularsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RegularsModel(const kv::stakes::TRegulars& tables, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_regulars(tables) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    const kv::stakes::TRegulars& m_regulars;
};

// The tab "Регуляры": the regular stakes with their commands. The tab can be hidden; the
// regulars are held only while it is shown.
class RegularsView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* ListName = "TablesList";
    static constexpr const char* TabCaption = "Регуляры";

    explicit RegularsView(const ViewContext& ctx);

    void createCommands();
    void createMenus(QMenu* menu);
    void refresh();
    QTableView* view() const { return m_view; }
    std::vector<int> selectedRows() const;
    bool tabVisible() const;

    // The tab's state (TabTables) and the column widths.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    // The stake dialog that TablesStakeAdd opens: "Добавление ставки" unless replaced.
    kv::stakes::TStakeDialog stakeDialog;

    void tabTables();
    void tablesAdd();
    void tablesDel();
    void tablesStakeAdd();
    void tablesStakeTest();

private:
    void showTab(bool visible);

    QTableView* m_view;
    RegularsModel* m_model;
};
