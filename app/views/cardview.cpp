#include "app/views/cardview.h"

#include <QAction>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/workspace/listexport.h"
#include "app/xlsexport.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "app/views/analysistabs.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"

using namespace kv;

int CardModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_card.RowCount();
}

int CardModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : analysis::TCard::Columns;
}

QVariant CardModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: return qs(m_card.CellText(index.row(), index.column()));
    case Qt::TextAlignmentRole: return int(Qt::AlignHCenter | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        const analysis::TCardCellColor c = m_card.CellColor(index.row(), index.column(), m_colors);
        if (c.Shade == analysis::TCardShade::Plain) return {};
        return QColor(QRgb(c.Rgb));
    }
    default: return {};
    }
}

QVariant CardModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return qs(analysis::TCard::Caption(section));
    return {};
}

void CardModel::reload()
{
    beginResetModel();
    endResetModel();
}

CardView::CardView(const ViewContext& ctx) : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_model = new CardModel(m_card, this);
    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("CardGrid"));
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setHighlightSections(false);
    const QFontMetrics fm = m_view->fontMetrics();
    // The draw numbers as wide as in the draw list; the numbers just fit two digits.
    m_view->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("Тираж0")) + 12);
    // The number columns share the width of the tab.
    m_view->horizontalHeader()->setMinimumSectionSize(fm.horizontalAdvance(QStringLiteral("00")) + 10);
    for (int c = 1; c < analysis::TCard::Columns; ++c) m_view->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    layout->addWidget(m_view);
    // The colours explained where they are seen, not only in the help.
    m_legend = new QLabel;
    m_legend->setObjectName(QStringLiteral("CardLegend"));
    m_legend->setTextFormat(Qt::RichText);
    m_legend->setWordWrap(true);
    layout->addWidget(m_legend);
    follow(workspace::TChange::Analysis, [this] { refresh(false); });
    // The card's channels follow the channel width.
    follow(workspace::TChange::Parameters, [this] { repaint(); });
}

void CardView::createCommands()
{
    QAction* tab = m_commands.add(cmd::TabCard, QStringLiteral("Вкладка \"Карта\""),
                                  QStringLiteral("Скрыть / показать вкладку \"Карта тиражей\""), [this] { tabCard(); });
    tab->setCheckable(true);
    const auto enabled = [this] { return !m_ws.Combs().Empty() && tabShown() && numbersSelected(); };
    m_commands.add(cmd::CardFilter_Include, QStringLiteral("Оставить выделенные"),
                   QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями"),
                   [this] { cardFilter(false); }, enabled);
    m_commands.add(cmd::CardFilter_Exclude, QStringLiteral("Удалить выделенные"),
                   QStringLiteral("Из списка комбинаций удалить комбинации с выделенными  значениями"),
                   [this] { cardFilter(true); }, enabled);
    m_commands.fillContextMenu(m_view, {cmd::CardFilter_Include, cmd::CardFilter_Exclude, TCommandSet::Separator,
                                        cmd::ViewColorCard, cmd::ViewColorCardSequences});
}

void CardView::refresh(bool force)
{
    if (!tabShown()) return;
    if (!m_card.Build(m_ws.Draws(), m_shell, force)) return;
    repaint();
    m_model->reload();
}

void CardView::repaint()
{
    const analysis::TCardColors colors{m_ws.View().ColorCard, m_ws.View().ColorCardSequences,
                                       m_stats.Config().ChannelSize};
    m_model->setColors(colors);
    m_view->viewport()->update();
    QStringList entries;
    for (const analysis::TCardLegendEntry& e : analysis::CardLegend(colors))
        entries << QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>&nbsp;%2")
                       .arg(QColor(QRgb(e.Rgb)).name(), TrText(qs(e.Text)).toHtmlEscaped());
    m_legend->setText(entries.join(QStringLiteral("&nbsp;&nbsp;&nbsp;")));
    m_legend->setVisible(!entries.isEmpty());
}

bool CardView::numbersSelected() const
{
    CellRect r;
    return SelectedRect(m_view, r) && r.left > 0 && r.right <= game::MaxNumber;
}

void CardView::cardFilter(bool exclude)
{
    RunNumberFilter(m_ws, m_stats, m_shell, filters::TNumberView::Card, [this] {
        std::vector<std::string> cells;
        CellRect r;
        if (SelectedRect(m_view, r))
            for (int row = r.top; row <= r.bottom; ++row)
                for (int col = r.left; col <= r.right; ++col) cells.push_back(m_card.CellText(row, col));
        return filters::CardCellNumbers(cells);
    }, exclude);
}

void CardView::showTab(bool visible)
{
    ShowAnalysisTab(this, m_host, m_commands, cmd::TabCard, visible);
}

void CardView::tabCard()
{
    if (ToggleAnalysisTab(this, m_ws, m_shell, m_host, m_commands, cmd::TabCard, &workspace::TViewSettings::TabCard)) refresh(true);
}

void CardView::restoreSettings(const workspace::FormSettings&)
{
    showTab(tabShown());
    repaint();
}

void CardView::createExportCommand()
{
    m_commands.add(cmd::CardXlsExport, QStringLiteral("Экспорт карты тиражей в Microsoft Excel"), QString(), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Card, GridSheet(exportGrid()));
    }, [this] { return tabShown(); });
    m_commands.fillContextMenu(view(), {TCommandSet::Separator, cmd::CardXlsExport});
}
