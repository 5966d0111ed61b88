#include "app/views/stakesview.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/formchart.h"
#include "app/formmain.h"
#include "app/formstake.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/views/combsview.h"
#include "app/views/ratingsview.h"
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
        return m_file.ReadStake(row);
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
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return QString::fromUtf8(stakes::StakeGridCaption(section));
    return {};
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

StakesView::StakesView(TFormMain& main) : QWidget(&main), m_main(main)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_model = new StakesModel(m_main.workspace().StakesFile(), this);
    // A range of rows, as the delete command removes one block top..bottom.
    m_view = NewRowList(QString::fromLatin1(GridName), m_model, QAbstractItemView::ContiguousSelection);
    m_view->setItemDelegate(new StakesDelegate(m_view));
    m_view->setWordWrap(false);
    resetColumns();
    layout->addWidget(m_view, 1);
}

stakes::TStakesFile& StakesView::file() const
{
    return m_main.workspace().StakesFile();
}

void StakesView::resetColumns()
{
    // The initial widths fit a font whose digits are 6 pixels wide (eight two-digit numbers
    // with their gaps fill the 120 of column 2); a larger font widens them in proportion.
    const double scale = std::max(1.0, m_view->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 6.0);
    for (int c = 0; c < stakes::StakeGridColumnCount; ++c)
        m_view->setColumnWidth(c, static_cast<int>(std::lround(stakes::StakeGridWidth(c) * scale)));
}

void StakesView::createCommands()
{
    auto& ws = m_main.workspace();
    const auto open = [this] { return file().IsOpen(); };
    const auto hasRecords = [this] { return file().HasRecords(); };
    const auto combsNotEmpty = [this, &ws] { return !ws.Combs().Empty() && file().IsOpen(); };

    m_main.addCommand("StakeAdd", QStringLiteral("Сделать ставку"), QString(), [this] { stakeAdd(); }, open);
    m_main.addCommand("StakeAddRandom", QStringLiteral("Сделать случайную ставку"), QString(), [this] { stakeAddRandom(); },
                      combsNotEmpty);
    m_main.addCommand("StakeAddSelected", QStringLiteral("Сделать ставки для выделенных комбинаций"), QString(),
                      [this] { stakeAddSelected(); },
                      [this] { return !m_main.combsView()->selectedRows().empty() && file().IsOpen(); });
    m_main.addCommand("StakeAddAll", QStringLiteral("Сделать ставки для всех комбинаций"), QString(),
                      [this] { stakeAddAll(); }, combsNotEmpty);
    m_main.addCommand("StakeDel", QStringLiteral("Удалить ставку"), QString(), [this] { stakeDel(); },
                      [this] { return file().HasRecords() && selectedGridRows().has_value(); });
    m_main.addCommand("StakeFilter", QStringLiteral("Удалить по условию"), QString(), [this] { stakeFilter(); }, hasRecords);
    m_main.addCommand("StakeClear", QStringLiteral("Удалить все ставки"), QString(), [this] { stakeClear(); }, hasRecords);
    m_main.addCommand("StakesCheckManual", QStringLiteral("Проверить ставки"), QString(), [this] { stakesCheckManual(); },
                      hasRecords);
    m_main.addCommand("LogStakes", QStringLiteral("Журналы ставок"), QString(), [this] { logStakes(); })->setCheckable(true);
    m_main.addCommand("LogStakesDelete", QStringLiteral("Удалить журналы ставок"), QString(), [this] { logStakesDelete(); });
    m_main.addCommand("StakesScroll", QStringLiteral("Прокручивать список при добавлении"), QString(),
                      [this] { stakesScroll(); })->setCheckable(true);
    m_main.addCommand("StakesCheckLine", QStringLiteral("Проверять ставки после каждой строки сценария"), QString(),
                      [this] { stakesCheckLine(); })->setCheckable(true);
    // The chart windows take these hints as their captions.
    m_main.addCommand("StakesGraphDraws", QStringLiteral("Суммарный профит по тиражам"),
                      QStringLiteral("График суммарного профита ставок по тиражам"), [this] { stakesGraphDraws(); },
                      hasRecords);
    const auto ratingRows = [this] { return file().HasRecords() && !m_main.selectedRatingNames().empty(); };
    m_main.addCommand("StakesGraphOverlap", QStringLiteral("График совпадений ставок"),
                      QStringLiteral("График количества совпадений для всех ставок по тиражам"),
                      [this] { stakesGraphOverlap(); }, ratingRows);
    m_main.addCommand("StakesGraphProfits", QStringLiteral("График профита ставок"),
                      QStringLiteral("График профита для всех ставок по тиражам"), [this] { stakesGraphProfits(); },
                      ratingRows);

    m_main.command(QStringLiteral("LogStakes"))->setChecked(m_logEnabled);
    m_main.command(QStringLiteral("StakesScroll"))->setChecked(m_scrollEnabled);
    m_main.command(QStringLiteral("StakesCheckLine"))->setChecked(m_checkOnLine);

    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto addSeparator = [this] {
        auto* sep = new QAction(m_view);
        sep->setSeparator(true);
        m_view->addAction(sep);
    };
    for (const char* name : {"StakeAdd", "StakeAddRandom", "StakeAddSelected", "StakeAddAll"})
        m_view->addAction(m_main.command(QString::fromLatin1(name)));
    addSeparator();
    for (const char* name : {"StakeDel", "StakeFilter", "StakeClear"}) m_view->addAction(m_main.command(QString::fromLatin1(name)));
    addSeparator();
    for (const char* name : {"StakesCheckManual", "StakesGraphDraws", "StakesGraphOverlap", "StakesGraphProfits"})
        m_view->addAction(m_main.command(QString::fromLatin1(name)));

    // A double click on a combination stakes it.
    connect(m_main.combsView()->view(), &QTableView::doubleClicked, this, [this] {
        if (file().IsOpen()) m_main.command(QStringLiteral("StakeAdd"))->trigger();
    });
}

void StakesView::restoreSettings(const workspace::FormSettings& frm)
{
    m_logEnabled = frm.ReadBool("StakesLogEnabled", false);
    m_scrollEnabled = frm.ReadBool("StakesScrollEnabled", true);
    m_checkOnLine = frm.ReadBool("StakesCheckOnLine", true);
    m_main.command(QStringLiteral("LogStakes"))->setChecked(m_logEnabled);
    m_main.command(QStringLiteral("StakesScroll"))->setChecked(m_scrollEnabled);
    m_main.command(QStringLiteral("StakesCheckLine"))->setChecked(m_checkOnLine);
    for (int c = 0; c < stakes::StakeGridColumnCount; ++c) {
        const int w = frm.ReadInt(util::Format("%s.Column%d", {GridName, c}), -1);
        if (w > 0 && w <= MaxColumnWidth) m_view->setColumnWidth(c, w);
    }
}

void StakesView::saveColumns(std::vector<std::pair<std::string, std::string>>& values) const
{
    for (int c = 0; c < stakes::StakeGridColumnCount; ++c)
        values.emplace_back(util::Format("%s.Column%d", {GridName, c}), std::to_string(m_view->columnWidth(c)));
}

void StakesView::fileOpened()
{
    if (stakes::DiscardOutdatedStakes(file(), m_main.shell())) resetColumns();
    refreshView(true, false);
}

void StakesView::refreshView(bool refresh, bool goToLast)
{
    if (!refresh && goToLast) {
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
    applyRefresh(refresh, goToLast);
}

void StakesView::applyPending()
{
    if (!m_pendingLast) return;
    m_pendingLast = false;
    applyRefresh(false, true);
}

void StakesView::applyRefresh(bool refresh, bool goToLast)
{
    const int records = file().RecordCount();
    // The planner sees the grid as the records it shows plus the header: an empty file's
    // single empty row must not pass for one record, or the first stake would go uncounted.
    const stakes::TStakeViewPlan plan =
        stakes::PlanStakeViewRefresh(m_model->shownRecords() + 1, records, refresh, goToLast, isVisible());
    if (plan.SetRowCount) m_model->setShownRecords(records);
    if (plan.SelectRow >= 1) {
        const int row = std::min(plan.SelectRow, m_model->rowCount()) - 1;
        m_view->selectRow(row);
        m_view->scrollTo(m_model->index(row, 0));
    }
    if (plan.Repaint) m_model->repaintAll();
    if (plan.ShowCount) m_main.setStatusField(4, qs(stakes::StakesCountText(records)));
}

bool StakesView::checkStakes()
{
    // Through the workspace: every checked stake feeds the rating, which is then sorted and saved.
    return m_main.workspace().CheckStakesAndReload(m_main.shell(), stakes::TPrizeTable(m_main.statList().Config()), m_logEnabled);
}

void StakesView::archiveGrew()
{
    checkStakes();
    refreshView(true, false);
}

stakes::TStakeViewHooks StakesView::hooks()
{
    stakes::TStakeViewHooks h;
    h.RefreshView = [this](bool refresh, bool goToLast) { refreshView(refresh, goToLast); };
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
    if (m_main.ratingsView()) m_main.ratingsView()->ratingsRefresh();
}

void StakesView::addManualStake(int combRow)
{
    auto& ws = m_main.workspace();
    game::TNumSet numbers;
    if (combRow >= 0 && combRow < ws.Combs().Count()) numbers = game::CombToNumSet(ws.Combs()[combRow]);
    const stakes::TStakeRecord stake =
        stakes::NewStake(stakes::OriginManual, ws.NextDrawNo(), ws.Combs().Count(), numbers, ManualComment,
                         stakes::TPrizeTable(m_main.statList().Config()));
    TFormStake dialog(m_main.shell(), stake, 1, &m_main);
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::AddStake(file(), m_main.shell(), dialog.stake(), dialog.drawsCount(), hooks());
}

void StakesView::stakeAdd()
{
    addManualStake(CurrentSelectedRow(m_main.combsView()->view()));
}

void StakesView::stakeAddRandom()
{
    const int count = m_main.workspace().Combs().Count();
    if (count <= 0) return;
    addManualStake(static_cast<int>(QRandomGenerator::global()->bounded(count)));
}

void StakesView::addStakesForCombs(const std::vector<game::TComb>& combs, bool clearSelection)
{
    auto& ws = m_main.workspace();
    TFormMultiStake dialog(m_main.shell(), ws.NextDrawNo(), &m_main);
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::AddStakesForCombs(file(), m_main.shell(), combs, dialog.drawNo(), dialog.drawsCount(), dialog.comment(),
                              ws.Combs().Count(), stakes::TPrizeTable(m_main.statList().Config()), m_scrollEnabled, hooks());
    if (clearSelection) m_main.combsView()->view()->clearSelection();
}

void StakesView::stakeAddSelected()
{
    const auto& list = m_main.workspace().Combs();
    std::vector<game::TComb> combs;
    for (int row : m_main.combsView()->selectedRows())
        if (row >= 0 && row < list.Count()) combs.push_back(list[row]);
    if (combs.empty()) return;
    addStakesForCombs(combs, true);
}

void StakesView::stakeAddAll()
{
    const auto& list = m_main.workspace().Combs().Items();
    if (list.empty()) return;
    addStakesForCombs({list.begin(), list.end()}, false);
}

void StakesView::stakeDel()
{
    const auto rows = selectedGridRows();
    if (!rows) return;
    stakes::StakeDel(file(), m_main.shell(), rows->first, rows->second, hooks());
}

void StakesView::stakeFilter()
{
    TFormStakeFilter dialog(&m_main);
    if (dialog.exec() != QDialog::Accepted) return;
    stakes::StakeFilter(file(), m_main.shell(), dialog.mode(), dialog.value(), hooks());
}

void StakesView::stakeClear()
{
    stakes::StakeClear(file(), m_main.shell(), hooks());
}

void StakesView::stakesCheckManual()
{
    checkStakes();
    refreshView(true, false);
}

void StakesView::toggleFlag(bool& flag, const char* command, const char* key)
{
    flag = !flag;
    m_main.command(QString::fromLatin1(command))->setChecked(flag);
    try {
        m_main.formSettings().WriteBool(key, flag);
    } catch (const std::exception& e) {
        m_main.shell().ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
}

void StakesView::logStakes()
{
    toggleFlag(m_logEnabled, "LogStakes", "StakesLogEnabled");
}

void StakesView::stakesScroll()
{
    toggleFlag(m_scrollEnabled, "StakesScroll", "StakesScrollEnabled");
}

void StakesView::stakesCheckLine()
{
    toggleFlag(m_checkOnLine, "StakesCheckLine", "StakesCheckOnLine");
}

void StakesView::logStakesDelete()
{
    stakes::LogStakesDelete(m_main.workspace().DataDir(), m_main.shell());
}

void StakesView::showChart(const std::optional<stakes::TChartData>& data)
{
    if (!data) return;
    auto* window = new TFormChart(qs(data->Caption), &m_main);
    window->setChart(*data);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

void StakesView::stakesGraphDraws()
{
    showChart(stakes::StakesGraphDraws(file(), m_main.shell()));
}

void StakesView::stakesGraphOverlap()
{
    showChart(stakes::StakesGraphOverlap(file(), m_main.selectedRatingNames(), m_main.shell()));
}

void StakesView::stakesGraphProfits()
{
    showChart(stakes::StakesGraphProfits(file(), m_main.selectedRatingNames(), m_main.shell()));
}
