#include "app/views/stakesview.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>
#include <algorithm>
#include <cmath>

#include "app/formchart.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/workspace/listexport.h"
#include "app/xlsexport.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/formstake.h"
#include "app/qtshell.h"
#include "app/viewflags.h"
#include "app/viewutil.h"
#include "app/language.h"
#include "core/game/numbers.h"
#include "core/workspace/formsettings.h"
#include "core/stakes/stakecharts.h"
#include "core/stakes/stakegrid.h"
#include "core/stakes/stakesfile.h"
#include "core/util/format.h"

using namespace kv;

namespace {

constexpr const char* ManualComment = "Ставка \"вручную\"";
// Widths outside this range come from a damaged settings file and are not applied.
constexpr int MaxColumnWidth = 10000;

} // namespace

// --- model -------------------------------------------------------------------------------------

int StakesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, m_records);
}

int StakesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : stakes::StakeGridColumnCount;
}

stakes::TStakeRecord StakesModel::record(int row) const
{
    if (row < 0 || row >= m_file.RecordCount()) return {};
    try {
        stakes::TStakeRecord stake = m_file.ReadStake(row);
        if (m_sortedDraws) std::sort(stake.DrawNums.begin(), stake.DrawNums.end());
        return stake;
    } catch (const std::exception&) {
        // Painting must not open message boxes; an unreadable row shows empty, as a failed read
        // yields an all-zero record.
        return {};
    }
}

QVariant StakesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return qs(stakes::StakeCellText(record(index.row()), column));
    case Qt::BackgroundRole:
        if (const auto color = stakes::StakeRowColor(record(index.row()).Origin)) return QColor(QRgb(*color));
        return {};
    case Qt::ForegroundRole:
        if (const auto color = stakes::StakeResultColor(record(index.row()), column)) return QColor(QRgb(*color));
        return {};
    case Qt::TextAlignmentRole:
        switch (stakes::StakeGridAlign(column)) {
        case stakes::TCellAlign::Right: return int(Qt::AlignRight | Qt::AlignVCenter);
        case stakes::TCellAlign::Left: return int(Qt::AlignLeft | Qt::AlignVCenter);
        default: return int(Qt::AlignCenter);
        }
    case MatchedNumbersRole: {
        QVariantList matched;
        for (const stakes::TStakeNumber& n : stakes::StakeCellNumbers(record(index.row()), column))
            if (n.Matched) matched << int(n.Number);
        return matched;
    }
    default: return {};
    }
}

QVariant StakesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(stakes::StakeGridCaption(section));
    if (role == Qt::ToolTipRole && section == 4)
        return TrText(m_sortedDraws
                          ? QStringLiteral("Числа тиража по возрастанию (включено «Упорядочить MIN->MAX» в меню «Тиражи»)")
                          : QStringLiteral("Числа тиража в порядке выпадения (по возрастанию — «Упорядочить MIN->MAX» в "
                                           "меню «Тиражи»)"));
    return {};
}

Qt::ItemFlags StakesModel::flags(const QModelIndex& index) const
{
    // The empty row of an empty file stands for nothing: it cannot be selected.
    if (m_records == 0) return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void StakesModel::setSortedDraws(bool sorted)
{
    if (sorted == m_sortedDraws) return;
    m_sortedDraws = sorted;
    emit headerDataChanged(Qt::Horizontal, 4, 4);
    repaintAll();
}

void StakesModel::setShownRecords(int records)
{
    records = std::max(0, records);
    const int oldRows = std::max(1, m_records);
    const int newRows = std::max(1, records);
    // Rows come and go at the end, so the selection and the scroll position of the rows that
    // stay are kept.
    if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        m_records = records;
        endInsertRows();
    } else if (newRows < oldRows) {
        beginRemoveRows({}, newRows, oldRows - 1);
        m_records = records;
        endRemoveRows();
    } else {
        m_records = records;
    }
    repaintAll();
}

void StakesModel::repaintAll()
{
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

// --- delegate ----------------------------------------------------------------------------------

void StakesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background (the origin's colour), selection and focus come from the style; the texts are
    // placed here.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state & QStyle::State_Selected;
    QColor textColor = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    if (foreground.canConvert<QColor>() && foreground.value<QColor>().isValid()) textColor = foreground.value<QColor>();
    const QRect cell = opt.rect;
    const int column = index.column();

    painter->save();
    painter->setClipRect(cell);
    painter->setPen(textColor);
    painter->setFont(opt.font);
    const auto* model = qobject_cast<const StakesModel*>(index.model());
    if ((column == 2 || column == 4) && model) {
        const std::vector<stakes::TStakeNumber> numbers = stakes::StakeCellNumbers(model->record(index.row()), column);
        QFont bold = opt.font;
        bold.setBold(true);
        const QFontMetrics normalMetrics(opt.font);
        const QFontMetrics boldMetrics(bold);
        std::vector<int> widths;
        int total = 0;
        for (const stakes::TStakeNumber& n : numbers) {
            const QString s = QString::number(n.Number);
            widths.push_back((n.Matched ? boldMetrics : normalMetrics).horizontalAdvance(s));
            total += widths.back();
        }
        if (!numbers.empty()) total += stakes::StakeNumberGap * static_cast<int>(numbers.size() - 1);
        int x = cell.left() + (cell.width() - total) / 2;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const bool matched = numbers[i].Matched;
            painter->setFont(matched ? bold : opt.font);
            painter->setPen(matched ? QColor(QRgb(stakes::MatchedNumberColor)) : textColor);
            painter->drawText(QRect(x, cell.top(), widths[i], cell.height()), Qt::AlignLeft | Qt::AlignVCenter,
                              QString::number(numbers[i].Number));
            x += widths[i] + stakes::StakeNumberGap;
        }
    } else if (!text.isEmpty()) {
        const int margin = stakes::StakeGridTextMargin;
        switch (stakes::StakeGridAlign(column)) {
        case stakes::TCellAlign::Right:
            painter->drawText(cell.adjusted(0, 0, -margin, 0), Qt::AlignRight | Qt::AlignVCenter, text);
            break;
        case stakes::TCellAlign::Left:
            painter->drawText(cell.adjusted(margin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
            break;
        default: painter->drawText(cell, Qt::AlignCenter, text); break;
        }
    }
    painter->restore();
}

// --- view --------------------------------------------------------------------------------------

StakesView::StakesView(const ViewContext& ctx)
    : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_model = new StakesModel(m_ws.StakesFile(), this);
    // A range of rows, as the delete command removes one block top..bottom.
    m_view = NewRowList(QString::fromLatin1(GridName), m_model, QAbstractItemView::ContiguousSelection);
    m_view->setItemDelegate(new StakesDelegate(m_view));
    m_view->setWordWrap(false);
    resetColumns();
    // With the default empty prize table every checked stake shows 0.00 in red: the notice
    // says why and leads to where the prizes are entered.
    m_prizeNotice = new QWidget;
    m_prizeNotice->setObjectName(QStringLiteral("PrizeNotice"));
    auto* notice = new QHBoxLayout(m_prizeNotice);
    notice->setContentsMargins(2, 0, 2, 0);
    auto* text = new QLabel(QStringLiteral("Таблица выигрышей пуста: проверенные ставки показывают нулевой выигрыш."));
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* open = new QPushButton(QStringLiteral("Параметры системы..."));
    open->setObjectName(QStringLiteral("PrizeNoticeButton"));
    connect(open, &QPushButton::clicked, this, &StakesView::prizeTableAsked);
    notice->addWidget(text, 1);
    notice->addWidget(open);
    layout->addWidget(m_prizeNotice);
    layout->addWidget(m_view, 1);
    followSettings();

    // Stakes added elsewhere (regulars, systems, a scenario run): the grid follows, during a run
    // a few times a second with the wishes of the requests in between gathered.
    m_stakesAnnounced = m_ws.Shared().Subscribe(workspace::TChange::Stakes, [this] {
        const workspace::TStakesChange& how = m_ws.Shared().StakesChange();
        if (how.Repaint) {
            m_model->repaintAll();
            return;
        }
        m_due.Rows = m_due.Rows || how.Rows;
        m_due.GoToLast = m_due.GoToLast || how.GoToLast;
        m_host.refreshView(this, this, [this] { refreshView(std::exchange(m_due, {})); });
    });
    follow(workspace::TChange::Parameters, [this] { followSettings(); });
}

void StakesView::followSettings()
{
    m_model->setSortedDraws(m_ws.View().SortedDraws);
    m_prizeNotice->setVisible(m_stats.Config().Profits.empty());
}

bool StakesView::logEnabled() const
{
    return m_ws.View().StakesLogEnabled;
}

bool StakesView::scrollEnabled() const
{
    return m_ws.View().StakesScrollEnabled;
}

bool StakesView::checkOnLine() const
{
    return m_ws.View().StakesCheckOnLine;
}

stakes::TStakesFile& StakesView::file() const
{
    return m_ws.StakesFile();
}

void StakesView::resetColumns()
{
    // The initial widths fit a font whose digits are 6 pixels wide (eight two-digit numbers
    // with their gaps fill the 120 of column 2); a larger font widens them in proportion.
    const double scale = std::max(1.0, m_view->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 6.0);
    // No caption is cut: "Совпадения" is wider than its 60 pixels in most fonts.
    const QHeaderView* header = m_view->horizontalHeader();
    for (int c = 0; c < stakes::StakeGridColumnCount; ++c) {
        const int caption = header->fontMetrics().horizontalAdvance(QString::fromUtf8(stakes::StakeGridCaption(c))) +
                            header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) * 2 + 8;
        m_view->setColumnWidth(c, std::max(caption, static_cast<int>(std::lround(stakes::StakeGridWidth(c) * scale))));
    }
}

void StakesView::createCommands()
{
    auto& ws = m_ws;
    const auto open = [this] { return file().IsOpen(); };
    const auto hasRecords = [this] { return file().HasRecords(); };
    const auto combsNotEmpty = [this, &ws] { return !ws.Combs().Empty() && file().IsOpen(); };

    m_commands.add(cmd::StakeAdd, QStringLiteral("Сделать ставку"), QString(), [this] { stakeAdd(); }, open);
    m_commands.add(cmd::StakeAddRandom, QStringLiteral("Сделать случайную ставку"), QString(), [this] { stakeAddRandom(); },
                      combsNotEmpty);
    m_commands.add(cmd::StakeAddSelected, QStringLiteral("Сделать ставки для выделенных комбинаций"), QString(),
                      [this] { stakeAddSelected(); },
                      [this] { return !m_ws.Shared().CombRows().empty() && file().IsOpen(); });
    m_commands.add(cmd::StakeAddAll, QStringLiteral("Сделать ставки для всех комбинаций"), QString(),
                      [this] { stakeAddAll(); }, combsNotEmpty);
    m_commands.add(cmd::StakeDel, QStringLiteral("Удалить ставку"), QString(), [this] { stakeDel(); },
                      [this] { return file().HasRecords() && selectedGridRows().has_value(); });
    m_commands.add(cmd::StakeFilter, QStringLiteral("Удалить по условию"), QString(), [this] { stakeFilter(); }, hasRecords);
    m_commands.add(cmd::StakeClear, QStringLiteral("Удалить все ставки"), QString(), [this] { stakeClear(); }, hasRecords);
    m_commands.add(cmd::StakesCheckManual, QStringLiteral("Проверить ставки"), QString(), [this] { stakesCheckManual(); },
                      hasRecords);
    m_commands.add(cmd::LogStakes, QStringLiteral("Журналы ставок"), QString(), [this] { logStakes(); })->setCheckable(true);
    m_commands.add(cmd::LogStakesDelete, QStringLiteral("Удалить журналы ставок"), QString(), [this] { logStakesDelete(); });
    m_commands.add(cmd::StakesScroll, QStringLiteral("Прокручивать список при добавлении"), QString(),
                      [this] { stakesScroll(); })->setCheckable(true);
    m_commands.add(cmd::StakesCheckLine, QStringLiteral("Проверять ставки после каждой строки сценария"), QString(),
                      [this] { stakesCheckLine(); })->setCheckable(true);
    // The chart windows take these hints as their captions.
    m_commands.add(cmd::StakesGraphDraws, QStringLiteral("Суммарный профит по тиражам"),
                      QStringLiteral("График суммарного профита ставок по тиражам"), [this] { stakesGraphDraws(); },
                      hasRecords);
    const auto ratingRows = [this] { return file().HasRecords() && !m_ws.Shared().RatingNames().empty(); };
    m_commands.add(cmd::StakesGraphOverlap, QStringLiteral("График совпадений ставок"),
                      QStringLiteral("График количества совпадений для всех ставок по тиражам"),
                      [this] { stakesGraphOverlap(); }, ratingRows);
    m_commands.add(cmd::StakesGraphProfits, QStringLiteral("График профита ставок"),
                      QStringLiteral("График профита для всех ставок по тиражам"), [this] { stakesGraphProfits(); },
                      ratingRows);

    m_commands.command(cmd::LogStakes)->setChecked(logEnabled());
    m_commands.command(cmd::StakesScroll)->setChecked(scrollEnabled());
    m_commands.command(cmd::StakesCheckLine)->setChecked(checkOnLine());

    const char* const sep = TCommandSet::Separator;
    m_commands.fillContextMenu(m_view, {cmd::StakeAdd, cmd::StakeAddRandom, cmd::StakeAddSelected, cmd::StakeAddAll, sep, cmd::StakeDel,
                                        cmd::StakeFilter, cmd::StakeClear, sep, cmd::StakesCheckManual, cmd::StakesGraphDraws,
                                        cmd::StakesGraphOverlap, cmd::StakesGraphProfits});
}

void StakesView::restoreSettings(const workspace::FormSettings& frm)
{
    m_commands.command(cmd::LogStakes)->setChecked(logEnabled());
    m_commands.command(cmd::StakesScroll)->setChecked(scrollEnabled());
    m_commands.command(cmd::StakesCheckLine)->setChecked(checkOnLine());
    RestoreListColumns(m_view, frm, GridName, MaxColumnWidth);
}

void StakesView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, GridName, values);
}

void StakesView::fileOpened()
{
    if (stakes::DiscardOutdatedStakes(file(), m_shell)) resetColumns();
    refreshView({.Rows = true});
}

void StakesView::refreshView(StakeGridRefresh how)
{
    if (!how.Rows && how.GoToLast) {
        // Every stake of a series asks for this. The grid shows only its state at the next
        // repaint, so the rows are adjusted once then (or by the series' closing refresh):
        // once per stake, a series over the whole list would take minutes.
        m_pendingLast = true;
        if (!m_pendingArmed) {
            m_pendingArmed = true;
            QTimer::singleShot(0, this, [this] {
                m_pendingArmed = false;
                applyPending();
            });
        }
        return;
    }
    applyPending();
    applyRefresh(how);
}

void StakesView::applyPending()
{
    if (!m_pendingLast) return;
    m_pendingLast = false;
    applyRefresh({.GoToLast = true});
}

void StakesView::applyRefresh(StakeGridRefresh how)
{
    const int records = file().RecordCount();
    // The planner sees the grid as the records it shows plus the header: an empty file's
    // single empty row must not pass for one record, or the first stake would go uncounted.
    const stakes::TStakeViewPlan plan =
        stakes::PlanStakeViewRefresh(m_model->shownRecords() + 1, records, how.Rows, how.GoToLast, isVisible());
    followSettings();
    if (plan.SetRowCount) m_model->setShownRecords(records);
    if (plan.SelectRow >= 1) {
        const int row = std::min(plan.SelectRow, m_model->rowCount()) - 1;
        m_view->selectRow(row);
        m_view->scrollTo(m_model->index(row, 0));
    }
    if (plan.Repaint) m_model->repaintAll();
    if (records == 0) {
        m_view->clearSelection();
        m_view->selectionModel()->clearCurrentIndex();
    }
    if (plan.ShowCount) m_host.setStatusField(4, qs(stakes::StakesCountText(records)));
}

bool StakesView::checkStakes()
{
    // Through the workspace: every checked stake feeds the rating, which is then sorted and saved.
    return m_ws.CheckStakesAndReload(m_shell, stakes::TPrizeTable(m_stats.Config()), logEnabled());
}

void StakesView::archiveGrew()
{
    checkStakes();
    refreshView({.Rows = true});
}

stakes::TStakeViewHooks StakesView::hooks()
{
    stakes::TStakeViewHooks h;
    h.RefreshView = [this](bool refresh, bool goToLast) { refreshView({.Rows = refresh, .GoToLast = goToLast}); };
    h.Check = [this] { checkStakes(); };
    h.Repaint = [this] { m_model->repaintAll(); };
    h.RefreshRatings = [this] { refreshRatings(); };
    return h;
}

std::optional<std::pair<int, int>> StakesView::selectedGridRows() const
{
    const std::vector<int> rows = SelectedRows(m_view);
    if (rows.empty()) return std::nullopt;
    return std::make_pair(rows.front() + 1, rows.back() + 1);
}

void StakesView::refreshRatings()
{
    m_ws.Shared().AnnounceRatings();
}

void StakesView::addManualStake(int combRow)
{
    auto& ws = m_ws;
    game::TNumSet numbers;
    if (combRow >= 0 && combRow < ws.Combs().Count()) numbers = game::CombToNumSet(ws.Combs()[combRow]);
    const stakes::TStakeRecord stake =
        stakes::NewStake(stakes::OriginManual, ws.NextDrawNo(), ws.Combs().Count(), numbers, ManualComment,
                         stakes::TPrizeTable(m_stats.Config()));
    TFormStake dialog(m_shell, stake, 1, m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::AddStake(file(), m_shell, dialog.stake(), dialog.drawsCount(), hooks());
}

void StakesView::stakeAdd()
{
    addManualStake(m_ws.Shared().CurrentCombRow());
}

void StakesView::stakeAddRandom()
{
    const int count = m_ws.Combs().Count();
    if (count <= 0) return;
    addManualStake(static_cast<int>(QRandomGenerator::global()->bounded(count)));
}

void StakesView::addStakesForCombs(const std::vector<game::TComb>& combs, bool clearSelection)
{
    auto& ws = m_ws;
    TFormMultiStake dialog(m_shell, ws.NextDrawNo(), m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::AddStakesForCombs(file(), m_shell, combs, dialog.drawNo(), dialog.drawsCount(), dialog.comment(),
                              ws.Combs().Count(), stakes::TPrizeTable(m_stats.Config()), scrollEnabled(), hooks());
    if (clearSelection) m_ws.Shared().SetCombSelection({}, -1);
}

void StakesView::stakeAddSelected()
{
    const auto& list = m_ws.Combs();
    std::vector<game::TComb> combs;
    for (int row : m_ws.Shared().CombRows())
        if (row >= 0 && row < list.Count()) combs.push_back(list[row]);
    if (combs.empty()) return;
    addStakesForCombs(combs, true);
}

void StakesView::stakeAddAll()
{
    const auto& list = m_ws.Combs().Items();
    if (list.empty()) return;
    addStakesForCombs({list.begin(), list.end()}, false);
}

void StakesView::stakeDel()
{
    const auto rows = selectedGridRows();
    if (!rows) return;
    stakes::StakeDel(file(), m_shell, rows->first, rows->second, hooks());
}

void StakesView::stakeFilter()
{
    TFormStakeFilter dialog(m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::StakeFilter(file(), m_shell, dialog.mode(), dialog.value(), hooks());
}

void StakesView::stakeClear()
{
    stakes::StakeClear(file(), m_shell, hooks());
}

void StakesView::stakesCheckManual()
{
    checkStakes();
    refreshView({.Rows = true});
}

void StakesView::logStakes()
{
    ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::StakesLogEnabled, cmd::LogStakes);
}

void StakesView::stakesScroll()
{
    ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::StakesScrollEnabled, cmd::StakesScroll);
}

void StakesView::stakesCheckLine()
{
    ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::StakesCheckOnLine, cmd::StakesCheckLine);
}

void StakesView::logStakesDelete()
{
    stakes::LogStakesDelete(m_ws.DataDir(), m_shell);
}

void StakesView::showChart(const std::optional<stakes::TChartData>& chart)
{
    if (!chart) return;
    auto* window = new TFormChart(qs(chart->Caption), m_host.mainWindow());
    window->setChart(*chart);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

void StakesView::stakesGraphDraws()
{
    showChart(stakes::StakesGraphDraws(file(), m_shell));
}

void StakesView::stakesGraphOverlap()
{
    showChart(stakes::StakesGraphOverlap(file(), m_ws.Shared().RatingNames(), m_shell));
}

void StakesView::stakesGraphProfits()
{
    showChart(stakes::StakesGraphProfits(file(), m_ws.Shared().RatingNames(), m_shell));
}

void StakesView::createExportCommand()
{
    m_commands.add(cmd::StakesXlsExport, QStringLiteral("Экспорт ставок в Microsoft Excel"), QString(), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Stakes,
                    workspace::StakesSheet(m_ws.StakesFile()));
    }, [this] { return m_ws.StakesFile().IsOpen() && m_ws.StakesFile().RecordCount() > 0; });
    m_commands.fillContextMenu(m_view, {TCommandSet::Separator, cmd::StakesXlsExport});
}
