#include "app/views/regularsview.h"

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
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return QString::fromUtf8(stakes::RegularColumnCaption(section));
    return {};
}

void RegularsModel::reload()
{
    beginResetModel();
    endResetModel();
}

RegularsView::RegularsView(TFormMain& main) : QWidget(&main), m_main(main)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto& tables = m_main.workspace().Regulars();
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
        TFormStake dialog(m_main.shell(), stake, drawsCount, &m_main);
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

void RegularsView::createMenus(QMenu* menu)
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
    return m_main.workspace().Regulars().Visible();
}

void RegularsView::restoreSettings(const workspace::FormSettings& frm)
{
    const bool visible = frm.ReadBool("TabTables", true);
    m_main.workspace().Regulars().SetVisible(visible);
    showTab(visible);
    for (int c = 0; c < stakes::RegularColumnCount; ++c) {
        const int w = frm.ReadInt(util::Format("%s.Column%d", {ListName, c}), -1);
        if (w > 0 && w < 2000) m_view->setColumnWidth(c, w);
    }
}

void RegularsView::saveSettings(std::vector<std::pair<std::string, std::string>>& values) const
{
    for (int c = 0; c < stakes::RegularColumnCount; ++c)
        values.emplace_back(util::Format("%s.Column%d", {ListName, c}), std::to_string(m_view->columnWidth(c)));
}

void RegularsView::showTab(bool visible)
{
    if (QAction* a = m_main.command(QStringLiteral("TabTables"))) a->setChecked(visible);
    QTabWidget* tabs = m_main.rightTabs();
    const int index = tabs->indexOf(this);
    if (index < 0) return;
    tabs->setTabVisible(index, visible);
    if (visible) tabs->setCurrentIndex(index);
}

void RegularsView::tabTables()
{
    const bool visible = m_main.workspace().Regulars().TabTables(m_main.shell());
    try {
        m_main.formSettings().WriteBool("TabTables", visible);
    } catch (const std::exception& e) {
        m_main.shell().ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    m_view->clearSelection();
    showTab(visible);
}

void RegularsView::tablesAdd()
{
    auto& ws = m_main.workspace();
    const std::vector<int> combRows = m_main.combsView()->selectedRows();
    std::vector<stakes::TSelectedComb> selected;
    for (int row : combRows)
        if (row >= 0 && row < ws.Combs().Count()) selected.push_back({row, ws.Combs()[row]});
    std::optional<game::TComb> one;
    if (selected.size() == 1) one = selected.front().Comb;
    TFormRegular dialog(m_main.shell(), stakes::NewRegularDraft(one), one, ws.Regulars().Items(), &m_main);
    if (dialog.exec() != QDialog::Accepted) return;
    ws.Regulars().TablesAdd(m_main.shell(), dialog.record(), selected);
}

void RegularsView::tablesDel()
{
    if (m_main.workspace().Regulars().TablesDel(m_main.shell(), selectedRows())) m_view->clearSelection();
}

void RegularsView::tablesStakeAdd()
{
    const int row = CurrentSelectedRow(m_view);
    if (row < 0 || !stakeDialog) return;
    m_main.workspace().TablesStakeAdd(m_main.shell(), stakes::TPrizeTable(m_main.statList().Config()), row, m_main.stakesScrollEnabled(),
                                      m_main.stakeViewHooks(), stakeDialog);
    m_view->selectRow(row);
}

void RegularsView::tablesStakeTest()
{
    auto& ws = m_main.workspace();
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return;
    const int count = TFormTestCount::AskTestCount(stakes::TRegulars::DefaultTestCount, ws.DrawCount() - 1, &m_main);
    if (count <= 0) return;
    ws.TablesStakeTest(m_main.shell(), stakes::TPrizeTable(m_main.statList().Config()), rows, count, m_main.stakesScrollEnabled(),
                       m_main.stakeViewHooks());
    // The model was reset by the save; the test's regulars stay selected for the next run.
    QItemSelection selection;
    for (int row : rows)
        if (row < ws.Regulars().Count())
            selection.select(m_view->model()->index(row, 0), m_view->model()->index(row, stakes::RegularColumnCount - 1));
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
