#include "app/views/regularsview.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/formstake.h"
#include "app/formregular.h"
#include "app/formtestcount.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/xlsexport.h"
#include "app/language.h"
#include "core/workspace/formsettings.h"
#include "core/util/format.h"
#include "core/workspace/listexport.h"

using namespace kv;

int RegularsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_regulars.Count();
}

int RegularsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : stakes::RegularColumnCount;
}

QVariant RegularsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_regulars.Count()) return {};
    switch (role) {
    case Qt::DisplayRole: return qs(stakes::RegularCellText(m_regulars[index.row()], index.column()));
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant RegularsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return TrText(QString::fromUtf8(stakes::RegularColumnCaption(section)));
    return {};
}

void RegularsModel::reload()
{
    beginResetModel();
    endResetModel();
}

RegularsView::RegularsView(const ViewContext& ctx)
    : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto& tables = m_ws.Regulars();
    m_model = new RegularsModel(tables, this);
    m_view = NewRowList(QString::fromLatin1(ListName), m_model);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = m_view->fontMetrics();
    const int combWidth = fm.horizontalAdvance(QStringLiteral("00;00;00;00;00;00;00;00")) + 16;
    m_view->setColumnWidth(0, 220);
    m_view->setColumnWidth(1, std::max(combWidth, fm.horizontalAdvance(QStringLiteral("Стартовая комбинация")) + 16));
    m_view->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("-000")) + 16);
    m_view->setColumnWidth(3, std::max(combWidth, fm.horizontalAdvance(QStringLiteral("Текущая комбинация")) + 16));
    layout->addWidget(m_view);
    tables.onChanged = [this] { refresh(); };
    stakeDialog = [this](stakes::TStakeRecord& stake, int& drawsCount) {
        TFormStake dialog(m_shell, stake, drawsCount, m_host.mainWindow());
        if (dialog.exec() != QDialog::Accepted) return false;
        stake = dialog.stake();
        drawsCount = dialog.drawsCount();
        return true;
    };
}

void RegularsView::createCommands()
{
    const auto shown = [this] { return tabVisible(); };
    const auto selected = [this] { return tabVisible() && !selectedRows().empty(); };
    QAction* tab = m_commands.add(cmd::TabTables, QStringLiteral("Вкладка \"Регуляры\""),
                                     QStringLiteral("Скрыть / показать вкладку \"Регуляры\""), [this] { tabTables(); });
    tab->setCheckable(true);
    tab->setChecked(tabVisible());
    m_commands.add(cmd::TablesAdd, QStringLiteral("Добавить регулярную ставку"), QString(), [this] { tablesAdd(); }, shown);
    m_commands.add(cmd::TablesDel, QStringLiteral("Удалить регулярную ставку"), QString(), [this] { tablesDel(); },
                      selected);
    m_commands.add(cmd::TablesStakeAdd, QStringLiteral("Сделать ставку по регуляру"), QString(),
                      [this] { tablesStakeAdd(); }, [this, selected] { return selected() && stakeDialog != nullptr; });
    // A test needs a draw before the window it moves through; with fewer than two draws there
    // is none, and the count dialog would have nothing to offer.
    m_commands.add(cmd::TablesStakeTest, QStringLiteral("Тест регуляров"), QString(), [this] { tablesStakeTest(); },
                      [this, selected] { return selected() && m_ws.DrawCount() >= 2; });
}

void RegularsView::createMenus(QMenu* menu)
{
    auto* context = new QMenu(this);
    for (QMenu* m : {menu, context})
        m_commands.fillMenu(m, {cmd::TablesAdd, cmd::TablesDel, TCommandSet::Separator, cmd::TablesStakeAdd, cmd::TablesStakeTest});
    AppendToContextMenu(context, AddListExportCommand(m_commands, cmd::TablesXlsExport, m_view, m_shell, m_ws.DataDir(),
                                                      workspace::ExportList::Regulars, QStringLiteral("Регуляры")));
    m_commands.popupOnRequest(m_view, m_view->viewport(), context);
}

void RegularsView::refresh()
{
    m_model->reload();
}

std::vector<int> RegularsView::selectedRows() const
{
    return SelectedRows(m_view);
}

bool RegularsView::tabVisible() const
{
    return m_ws.Regulars().Visible();
}

void RegularsView::restoreSettings(const workspace::FormSettings& frm)
{
    const bool visible = m_ws.View().TabTables;
    m_ws.Regulars().SetVisible(visible);
    showTab(visible);
    RestoreListColumns(m_view, frm, ListName);
}

void RegularsView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, ListName, values);
}

void RegularsView::showTab(bool visible)
{
    if (QAction* a = m_commands.command(cmd::TabTables)) a->setChecked(visible);
    m_host.setTabShown(this, visible);
}

void RegularsView::tabTables()
{
    const bool visible = m_ws.Regulars().TabTables(m_shell);
    try {
        m_ws.SetViewFlag(&workspace::TViewSettings::TabTables, visible);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    m_view->clearSelection();
    showTab(visible);
}

void RegularsView::tablesAdd()
{
    auto& ws = m_ws;
    const std::vector<int> combRows = m_ws.Shared().CombRows();
    std::vector<stakes::TSelectedComb> selected;
    for (int row : combRows)
        if (row >= 0 && row < ws.Combs().Count()) selected.push_back({row, ws.Combs()[row]});
    std::optional<game::TComb> one;
    if (selected.size() == 1) one = selected.front().Comb;
    TFormRegular dialog(m_shell, stakes::NewRegularDraft(one), one, static_cast<int>(selected.size()), ws.DrawCount(),
                        ws.Regulars().Items(), m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    ws.Regulars().TablesAdd(m_shell, dialog.record(), selected);
}

void RegularsView::tablesDel()
{
    if (m_ws.Regulars().TablesDel(m_shell, selectedRows())) m_view->clearSelection();
}

void RegularsView::tablesStakeAdd()
{
    const int row = CurrentSelectedRow(m_view);
    if (row < 0 || !stakeDialog) return;
    m_ws.TablesStakeAdd(m_shell, stakes::TPrizeTable(m_stats.Config()), row, m_ws.View().StakesScrollEnabled,
                        m_ws.StakeViewHooks(m_shell, stakes::TPrizeTable(m_stats.Config())), stakeDialog);
    m_view->selectRow(row);
}

void RegularsView::tablesStakeTest()
{
    auto& ws = m_ws;
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return;
    const int count = TFormTestCount::AskTestCount(stakes::TRegulars::DefaultTestCount, ws.DrawCount() - 1, m_host.mainWindow());
    if (count <= 0) return;
    ws.TablesStakeTest(m_shell, stakes::TPrizeTable(m_stats.Config()), rows, count, m_ws.View().StakesScrollEnabled,
                       m_ws.StakeViewHooks(m_shell, stakes::TPrizeTable(m_stats.Config())));
    // The model was reset by the save; the test's regulars stay selected for the next run.
    QItemSelection selection;
    for (int row : rows)
        if (row < ws.Regulars().Count())
            selection.select(m_view->model()->index(row, 0), m_view->model()->index(row, stakes::RegularColumnCount - 1));
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
