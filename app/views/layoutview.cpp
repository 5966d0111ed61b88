#include "app/views/layoutview.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/views/analysistabs.h"
#include "app/language.h"
#include "app/xlsexport.h"
#include "core/util/format.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"
#include "core/workspace/listexport.h"

using namespace kv;

namespace {

constexpr int CompareDefaults[LayoutView::Lists] = {50, 100, 200, 300, 400};

QTableWidget* NewGridTable(const QString& name)
{
    auto* t = new QTableWidget;
    t->setObjectName(name);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setHighlightSections(false);
    t->verticalHeader()->setHighlightSections(false);
    return t;
}

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}

} // namespace

LayoutView::LayoutView(const ViewContext& ctx) : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    m_length = NewLengthEdit(QStringLiteral("LayoutLen"), 100,
                             QStringLiteral("Количество тиражей, использующихся для построения схемы"));
    m_refresh = new QToolButton;
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(m_length);
    top->addWidget(m_refresh);
    top->addStretch();
    m_refreshLists = new QToolButton;
    top->addWidget(new QLabel(QStringLiteral("Таблицы сравнения:")));
    top->addWidget(m_refreshLists);
    layout->addLayout(top);

    m_splitter = new QSplitter(Qt::Vertical);
    m_grid = NewGridTable(QStringLiteral("LayoutGrid"));
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->verticalHeader()->setFixedWidth(50);
    m_grid->horizontalHeader()->setDefaultSectionSize(40);
    m_splitter->addWidget(m_grid);

    auto* compare = new QWidget;
    auto* grid = new QGridLayout(compare);
    grid->setContentsMargins(0, 4, 0, 0);
    for (int i = 0; i < Lists; ++i) {
        auto*& edit = m_compareLengths[static_cast<std::size_t>(i)];
        edit = NewLengthEdit(QStringLiteral("LayoutCompareLen%1").arg(i + 1), CompareDefaults[i],
                             QStringLiteral("Количество тиражей, использующихся для таблицы сравнения"));
        OnEnter(edit, [this] {
            if (!m_shell.IsBusy()) refreshLists(true);
        });
        auto* list = NewGridTable(QStringLiteral("LayoutCompare%1").arg(i + 1));
        list->setColumnCount(2);
        list->setHorizontalHeaderLabels({QStringLiteral("Кол-во"), QString()});
        list->verticalHeader()->hide();
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->horizontalHeader()->setStretchLastSection(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A click on a caption sorts by that column, each click turning the order; no indicator,
        // so that the window's draws fit the caption.
        list->horizontalHeader()->setSectionsClickable(true);
        connect(list->horizontalHeader(), &QHeaderView::sectionClicked, list, [list](int column) {
            const bool descending = list->property("descending").toBool();
            list->sortItems(column, descending ? Qt::AscendingOrder : Qt::DescendingOrder);
            list->setProperty("descending", !descending);
        });
        list->setColumnWidth(0, list->fontMetrics().horizontalAdvance(QStringLiteral("Кол-во")) + 12);
        m_lists[static_cast<std::size_t>(i)] = list;
        grid->addWidget(edit, 0, i);
        grid->addWidget(list, 1, i);
    }
    m_splitter->addWidget(compare);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setSizes({300, 260});
    layout->addWidget(m_splitter, 1);

    OnEnter(m_length, [this] {
        if (!m_shell.IsBusy()) refreshGrid(false);
    });
    follow(workspace::TChange::Analysis, [this] {
        refreshGrid(false);
        refreshLists(false);
    });
}

void LayoutView::createCommands()
{
    const auto enabled = [this] { return tabShown() && m_ws.DrawCount() > 0; };
    m_commands.add(cmd::LayoutCalc, QStringLiteral("Обновить"), QStringLiteral("Пересчитать схему"), [this] { refreshGrid(true); },
                   enabled);
    m_commands.add(cmd::LayoutCmpCalc, QStringLiteral("Обновить"), QStringLiteral("Пересчитать таблицы сравнения"),
                   [this] { refreshLists(true); }, enabled);
    QAction* tab = m_commands.add(cmd::TabLayout, QStringLiteral("Вкладка \"Схема\""),
                                  QStringLiteral("Скрыть / показать вкладку \"Схема выпадения номеров\""), [this] { tabLayout(); });
    tab->setCheckable(true);
    const auto filter = [this] { return !m_ws.Combs().Empty() && tabShown() && cellsSelected(); };
    m_commands.add(cmd::LayoutFilter_Include, QStringLiteral("Оставить выделенные"),
                   QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями"),
                   [this] { layoutFilter(false); }, filter);
    m_commands.add(cmd::LayoutFilter_Exclude, QStringLiteral("Удалить выделенные"),
                   QStringLiteral("Из списка комбинаций удалить комбинации с выделенными значениями"),
                   [this] { layoutFilter(true); }, filter);
    m_refresh->setDefaultAction(m_commands.command(cmd::LayoutCalc));
    m_refreshLists->setDefaultAction(m_commands.command(cmd::LayoutCmpCalc));
    for (QToolButton* b : {m_refresh, m_refreshLists}) b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_commands.fillContextMenu(m_grid, {cmd::LayoutFilter_Include, cmd::LayoutFilter_Exclude, TCommandSet::Separator,
                                        cmd::LayoutCalc, cmd::ViewLayoutGradient});
    for (int i = 0; i < Lists; ++i) {
        QTableWidget* list = m_lists[static_cast<std::size_t>(i)];
        AppendToContextMenu(list, AddListExportCommand(m_commands, cmd::LayoutCompareXlsExport(i + 1),
                                                       list, m_shell, m_ws.DataDir(), workspace::ExportList::LayoutCompare,
                                                       TrText(QStringLiteral("Сравнение %1")).arg(i + 1)));
    }
}

void LayoutView::refreshGrid(bool force)
{
    if (!tabShown()) return;
    if (!m_layout.BuildGrid(m_ws.Draws(), m_ws.DrawsOffset(), m_length->value(), m_shell, force)) return;
    fillGrid();
}

void LayoutView::fillGrid()
{
    const analysis::TLayoutGrid& g = m_layout.Grid();
    m_grid->clear();
    m_grid->setRowCount(g.Rows());
    m_grid->setColumnCount(g.Cols());
    QStringList captions;
    for (int32_t d : g.DrawNos) captions << QString::number(d);
    m_grid->setHorizontalHeaderLabels(captions);
    QStringList counts;
    for (int c : g.Counts) counts << QString::number(c);
    m_grid->setVerticalHeaderLabels(counts);
    const QFontMetrics fm = m_grid->fontMetrics();
    std::vector<int> widths(static_cast<std::size_t>(g.Cols()), 40);
    for (int r = 0; r < g.Rows(); ++r)
        for (int c = 0; c < g.Cols(); ++c) {
            const QString text = qs(g.Cell(r, c));
            m_grid->setItem(r, c, Item(text, Qt::AlignHCenter | Qt::AlignTop));
            widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], fm.horizontalAdvance(text) + 10);
        }
    for (int c = 0; c < g.Cols(); ++c)
        m_grid->setColumnWidth(c, std::max(widths[static_cast<std::size_t>(c)], fm.horizontalAdvance(captions[c]) + 10));
    repaint();
}

void LayoutView::repaint()
{
    const analysis::TLayoutGrid& g = m_layout.Grid();
    const bool gradient = m_ws.View().LayoutGradient;
    for (int r = 0; r < g.Rows() && r < m_grid->rowCount(); ++r)
        for (int c = 0; c < g.Cols() && c < m_grid->columnCount(); ++c) {
            const bool hidden = g.Cell(r, c).find('[') != std::string::npos;
            m_grid->item(r, c)->setBackground(QColor(QRgb(analysis::LayoutCellColor(r, c, g.Rows(), g.Cols(), gradient, hidden))));
        }
}

void LayoutView::refreshLists(bool force)
{
    if (!tabShown()) return;
    std::array<int, Lists> lengths{};
    for (int i = 0; i < Lists; ++i) lengths[static_cast<std::size_t>(i)] = m_compareLengths[static_cast<std::size_t>(i)]->value();
    if (!m_layout.BuildLists(m_ws.Draws(), m_ws.DrawsOffset(), lengths, m_shell, force)) return;
    for (int i = 0; i < Lists; ++i) {
        const analysis::TCompareList& compare = m_layout.List(i);
        QTableWidget* list = m_lists[static_cast<std::size_t>(i)];
        list->clearContents();
        list->setRowCount(static_cast<int>(compare.Rows.size()));
        list->setHorizontalHeaderItem(1, new QTableWidgetItem(qs(compare.Caption)));
        for (int r = 0; r < static_cast<int>(compare.Rows.size()); ++r) {
            auto* count = Item(QString(), Qt::AlignCenter);
            count->setData(Qt::DisplayRole, compare.Rows[static_cast<std::size_t>(r)].first);
            list->setItem(r, 0, count);
            auto* numbers = Item(qs(compare.Rows[static_cast<std::size_t>(r)].second), Qt::AlignLeft | Qt::AlignVCenter);
            numbers->setToolTip(numbers->text());
            list->setItem(r, 1, numbers);
        }
    }
}

bool LayoutView::cellsSelected() const
{
    CellRect r;
    return SelectedRect(m_grid, r);
}

void LayoutView::layoutFilter(bool exclude)
{
    RunNumberFilter(m_ws, m_stats, m_shell, filters::TNumberView::Layout, [this] {
        std::vector<std::string> cells;
        CellRect r;
        const analysis::TLayoutGrid& g = m_layout.Grid();
        if (SelectedRect(m_grid, r))
            for (int row = r.top; row <= r.bottom && row < g.Rows(); ++row)
                for (int col = r.left; col <= r.right && col < g.Cols(); ++col) cells.push_back(g.Cell(row, col));
        return filters::LayoutCellNumbers(cells);
    }, exclude);
}

void LayoutView::showTab(bool visible)
{
    ShowAnalysisTab(this, m_host, m_commands, cmd::TabLayout, visible);
}

void LayoutView::tabLayout()
{
    if (ToggleAnalysisTab(this, m_ws, m_shell, m_host, m_commands, cmd::TabLayout, &workspace::TViewSettings::TabLayout)) {
        refreshGrid(true);
        refreshLists(true);
    }
}

void LayoutView::restoreSettings(const workspace::FormSettings& frm)
{
    m_length->setValue(std::max(1, frm.ReadInt("LayoutLen", 100)));
    for (int i = 0; i < Lists; ++i)
        m_compareLengths[static_cast<std::size_t>(i)]->setValue(
            std::max(1, frm.ReadInt(util::Format("LayoutCompareLen%d", {i + 1}), CompareDefaults[i])));
    RestoreLowerPane(m_splitter, frm.ReadInt("LayoutCompareHeight", -1));
    showTab(tabShown());
}

void LayoutView::saveSettings(SettingValues& values) const
{
    values.emplace_back("LayoutLen", std::to_string(m_length->value()));
    for (int i = 0; i < Lists; ++i)
        values.emplace_back(util::Format("LayoutCompareLen%d", {i + 1}),
                            std::to_string(m_compareLengths[static_cast<std::size_t>(i)]->value()));
    values.emplace_back("LayoutCompareHeight", std::to_string(m_splitter->sizes().value(1)));
}

void LayoutView::createExportCommand()
{
    m_commands.add(cmd::LayoutXlsExport, QStringLiteral("Экспорт схемы в Microsoft Excel"), QString(), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Layout, GridSheet(exportGrid()));
    }, [this] { return tabShown() && grid()->columnCount() > 2; });
    m_commands.fillContextMenu(grid(), {TCommandSet::Separator, cmd::LayoutXlsExport});
}
