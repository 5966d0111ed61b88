#include "app/views/tablesview.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "app/formmain.h"
#include "app/formstake.h"
#include "app/formregular.h"
#include "app/formtestcount.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/views/combsview.h"
#include "core/workspace/formsettings.h"
#include "core/util/format.h"

using namespace kv;

int TablesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_tables.Count();
}

int TablesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : stakes::RegularColumnCount;
}

QVariant TablesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_tables.Count()) return {};
    switch (role) {
    case Qt::DisplayRole: return qs(stakes::RegularCellText(m_tables[index.row()], index.column()));
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant TablesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return QString::fromUtf8(stakes::RegularColumnCaption(section));
    return {};
}

void TablesModel::reload()
{
    beginResetModel();
    endResetModel();
}

TablesView::TablesView(TFormMain& main) : QWidget(&main), m_main(main)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto& tables = m_main.workspace().Tables();
    m_model = new TablesModel(tables, this);
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
        TFormStake dialog(m_main.shell(), stake, drawsCount, &m_main);
        if (dialog.exec() != QDialog::Accepted) return false;
        stake = dialog.stake();
        drawsCount = dialog.drawsCount();
        return true;
    };
}

void TablesView::createCommands()
{
    const auto shown = [this] { return tabVisible(); };
    const auto selected = [this] { return tabVisible() && !selectedRows().empty(); };
    QAction* tab = m_main.addCommand("TabTables", QStringLiteral("Вкладка \"Регуляры\""),
                                     QStringLiteral("Скрыть / показать вкладку \"Регуляры\""), [this] { tabTables(); });
    tab->setCheckable(true);
    tab->setChecked(tabVisible());
    m_main.addCommand("TablesAdd", QStringLiteral("Добавить регулярную ставку"), QString(), [this] { tablesAdd(); }, shown);
    m_main.addCommand("TablesDel", QStringLiteral("Удалить регулярную ставку"), QString(), [this] { tablesDel(); },
                      selected);
    m_main.addCommand("TablesStakeAdd", QStringLiteral("Сделать ставку по регуляру"), QString(),
                      [this] { tablesStakeAdd(); }, [this, selected] { return selected() && stakeDialog != nullptr; });
    // A test needs a draw before the window it moves through; with fewer than two draws there
    // is none, and the count dialog would have nothing to offer.
    m_main.addCommand("TablesStakeTest", QStringLiteral("Тест регуляров"), QString(), [this] { tablesStakeTest(); },
                      [this, selected] { return selected() && m_main.workspace().DrawCount() >= 2; });
}

void TablesView::createMenus(QMenu* menu)
{
    auto* context = new QMenu(this);
    for (QMenu* m : {menu, context}) {
        for (const char* name : {"TablesAdd", "TablesDel"}) m->addAction(m_main.command(QString::fromLatin1(name)));
        m->addSeparator();
        for (const char* name : {"TablesStakeAdd", "TablesStakeTest"}) m->addAction(m_main.command(QString::fromLatin1(name)));
    }
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this, context](const QPoint& pos) {
        m_main.updateActions();
        context->popup(m_view->viewport()->mapToGlobal(pos));
    });
}

void TablesView::refresh()
{
    m_model->reload();
}

std::vector<int> TablesView::selectedRows() const
{
    return SelectedRows(m_view);
}

bool TablesView::tabVisible() const
{
    return m_main.workspace().Tables().Visible();
}

void TablesView::restoreSettings(const workspace::FormSettings& frm)
{
    const bool visible = frm.ReadBool("TabTables", true);
    m_main.workspace().Tables().SetVisible(visible);
    showTab(visible);
    for (int c = 0; c < stakes::RegularColumnCount; ++c) {
        const int w = frm.ReadInt(util::Format("%s.Column%d", {ListName, c}), -1);
        if (w > 0 && w < 2000) m_view->setColumnWidth(c, w);
    }
}

void TablesView::saveSettings(std::vector<std::pair<std::string, std::string>>& values) const
{
    for (int c = 0; c < stakes::RegularColumnCount; ++c)
        values.emplace_back(util::Format("%s.Column%d", {ListName, c}), std::to_string(m_view->columnWidth(c)));
}

void TablesView::showTab(bool visible)
{
    if (QAction* a = m_main.command(QStringLiteral("TabTables"))) a->setChecked(visible);
    QTabWidget* tabs = m_main.rightTabs();
    const int index = tabs->indexOf(this);
    if (index < 0) return;
    tabs->setTabVisible(index, visible);
    if (visible) tabs->setCurrentIndex(index);
}

void TablesView::tabTables()
{
    const bool visible = m_main.workspace().Tables().TabTables(m_main.shell());
    try {
        m_main.formSettings().WriteBool("TabTables", visible);
    } catch (const std::exception& e) {
        m_main.shell().ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    m_view->clearSelection();
    showTab(visible);
}

void TablesView::tablesAdd()
{
    auto& ws = m_main.workspace();
    const std::vector<int> combRows = m_main.combsView()->selectedRows();
    std::vector<stakes::TSelectedComb> selected;
    for (int row : combRows)
        if (row >= 0 && row < ws.Combs().Count()) selected.push_back({row, ws.Combs()[row]});
    std::optional<game::TComb> one;
    if (selected.size() == 1) one = selected.front().Comb;
    TFormRegular dialog(m_main.shell(), stakes::NewRegularDraft(one), one, ws.Tables().Items(), &m_main);
    if (dialog.exec() != QDialog::Accepted) return;
    ws.Tables().TablesAdd(m_main.shell(), dialog.record(), selected);
}

void TablesView::tablesDel()
{
    if (m_main.workspace().Tables().TablesDel(m_main.shell(), selectedRows())) m_view->clearSelection();
}

void TablesView::tablesStakeAdd()
{
    const int row = CurrentSelectedRow(m_view);
    if (row < 0 || !stakeDialog) return;
    m_main.workspace().TablesStakeAdd(m_main.shell(), m_main.statList(), row, m_main.stakesScrollEnabled(),
                                      m_main.stakeViewHooks(), stakeDialog);
    m_view->selectRow(row);
}

void TablesView::tablesStakeTest()
{
    auto& ws = m_main.workspace();
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return;
    const int count = TFormTestCount::AskTestCount(stakes::TTables::DefaultTestCount, ws.DrawCount() - 1, &m_main);
    if (count <= 0) return;
    ws.TablesStakeTest(m_main.shell(), m_main.statList(), rows, count, m_main.stakesScrollEnabled(),
                       m_main.stakeViewHooks());
    // The model was reset by the save; the test's regulars stay selected for the next run.
    QItemSelection selection;
    for (int row : rows)
        if (row < ws.Tables().Count())
            selection.select(m_view->model()->index(row, 0), m_view->model()->index(row, stakes::RegularColumnCount - 1));
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
