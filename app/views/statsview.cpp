#include "app/views/statsview.h"

#include <algorithm>

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <limits>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/workspace/listexport.h"
#include "app/xlsexport.h"
#include "app/views/analysischart.h"
#include "core/stats/prefetch.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/qtshell.h"
#include "app/viewflags.h"
#include "app/viewutil.h"
#include "app/language.h"
#include "core/filters/statfilter.h"
#include "core/util/format.h"
#include "core/util/ini.h"

using namespace kv;

namespace {

// What each column holds and how it is computed; W is the window's length in draws.
const char* const ColumnHints[stats::StatColumns] = {
    "Значение статистики выбранного метода",
    "Сколько раз значение встретилось в окне из W тиражей",
    "Количество × 100 / сумма количеств всех значений",
    "Количество, ожидаемое по полному набору комбинаций (сравнение с полным набором)",
    "Количество − Норма",
    "(Количество − Норма) × 100 / Норма",
    "Сколько тиражей назад значение встретилось последний раз (1 — в последнем тираже окна)",
    "Глубина × 100 / наибольшая глубина в таблице",
    "Количество, отклонение и глубина, сложенные с коэффициентами из «Параметры системы»",
    "Номер последнего тиража окна, в котором встретилось значение",
    "Наименьший промежуток в тиражах между двумя появлениями значения",
    "Средний период: W / Количество",
    "Наибольший промежуток в тиражах между двумя появлениями значения",
    "Ожидаемый тираж по периоду: округл(W / Количество + Посл. тираж); при Количестве > 1",
    "Ожидаемый тираж: округл((Количество + 1) × Посл. тираж / Количество)",
    "Ожидаемый тираж: округл((Количество + 2) × (Посл. тираж + 1) / (Количество + 1))",
    "Номер тиража, в котором значение встретилось следующим после окна (при смещении)",
    "Ожд. ПРД − Факт: на сколько тиражей ожидание по периоду разошлось с фактом",
    "Ожд. СТФ − Факт: на сколько тиражей это ожидание разошлось с фактом",
    "Ожд. КРН − Факт: на сколько тиражей это ожидание разошлось с фактом",
};

// The chooser's list: the caption of a statistic group above the first method of each group,
// so that the methods keep their positions, order and names while the long list reads in parts.
class GroupedMethodDelegate : public QStyledItemDelegate {
public:
    static constexpr int GroupRole = Qt::UserRole + 1;
    using QStyledItemDelegate::QStyledItemDelegate;

    static bool startsGroup(const QModelIndex& index)
    {
        if (!index.isValid()) return false;
        const QModelIndex previous = index.sibling(index.row() - 1, 0);
        return !previous.isValid() || previous.data(GroupRole) != index.data(GroupRole);
    }
    int captionHeight(const QStyleOptionViewItem& option) const { return option.fontMetrics.height() + 6; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (startsGroup(index)) size.rheight() += captionHeight(option);
        return size;
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!startsGroup(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const int h = captionHeight(option);
        QRect caption = option.rect;
        caption.setHeight(h);
        painter->save();
        painter->fillRect(caption, option.palette.alternateBase());
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          QString::fromUtf8(stats::GroupName(index.data(GroupRole).toInt())));
        painter->restore();
        QStyleOptionViewItem item = option;
        item.rect.setTop(option.rect.top() + h);
        QStyledItemDelegate::paint(painter, item, index);
    }
};

} // namespace

int StatTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.RowCount();
}

int StatTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : stats::StatColumns;
}

QVariant StatTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_table.RowCount()) return {};
    if (role == Qt::DisplayRole) return qs(m_table.CellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant StatTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= stats::StatColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(stats::StatColumnCaption(section));
    if (role == Qt::ToolTipRole)
        return QStringLiteral("%1: %2").arg(QString::fromUtf8(stats::StatColumnCaption(section)),
                                            TrText(QString::fromUtf8(ColumnHints[section])));
    return {};
}

void StatTableModel::sort(int column, Qt::SortOrder order)
{
    beginResetModel();
    m_table.SortRows(column, order == Qt::AscendingOrder);
    endResetModel();
}

void StatTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

StatsView::StatsView(const ViewContext& ctx)
    : ContextView(ctx), m_table(ctx.workspace.StatTable())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    m_chooser = new QComboBox;
    m_chooser->setObjectName(QStringLiteral("cbDrawsStatType"));
    m_chooser->setMinimumContentsLength(20);
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_chooser->setItemDelegate(new GroupedMethodDelegate(m_chooser));
    m_chooser->setMaxVisibleItems(24);
    // Typing finds a method by any part of its name.
    m_chooser->setEditable(true);
    m_chooser->setInsertPolicy(QComboBox::NoInsert);
    m_chooser->lineEdit()->setPlaceholderText(QStringLiteral("Поиск метода"));
    m_chooser->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_chooser->completer()->setFilterMode(Qt::MatchContains);
    m_chooser->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_chooser->setToolTip(QStringLiteral("Метод расчета статистики; наберите часть названия для поиска"));
    // Text typed and left without a choice gives way to the chosen method again.
    connect(m_chooser->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString chosen = m_chooser->itemText(m_chooser->currentIndex());
        if (m_chooser->lineEdit()->text() != chosen) m_chooser->lineEdit()->setText(chosen);
    });
    m_length = new QSpinBox;
    m_length->setObjectName(QStringLiteral("DrawsStatLen"));
    m_length->setRange(1, std::numeric_limits<int>::max());
    m_length->setValue(1000);
    m_length->setToolTip(QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
    m_refresh = new QToolButton;
    top->addWidget(new QLabel(QStringLiteral("Метод:")));
    top->addWidget(m_chooser, 1);
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(m_length);
    top->addWidget(m_refresh);
    layout->addLayout(top);

    m_splitter = new QSplitter(Qt::Vertical);
    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("StatTable"));
    m_model = new StatTableModel(m_table, this);
    m_view->setModel(m_model);
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_chart = new AnalysisChart;
    m_chart->setObjectName(QStringLiteral("StatChart"));
    // Counts of a window differ little from value to value: fitted, they show their shape.
    m_chart->setStartAtZero(false);
    m_zero = m_chart->createZeroToggle();
    auto* chartPane = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(m_chart, 1);
    chartLayout->addWidget(m_zero);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(chartPane);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setSizes({400, 260});
    const QFontMetrics fm = m_view->fontMetrics();
    for (int c = 0; c < kv::stats::StatColumns; ++c) {
        const QString caption = QString::fromUtf8(kv::stats::StatColumnCaption(c));
        m_view->setColumnWidth(c, std::max(fm.horizontalAdvance(caption), fm.horizontalAdvance(QStringLiteral("00000.00"))) + 24);
    }
    m_view->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("нЧнЧнЧнЧ (170)")) + 16);
    layout->addWidget(m_splitter, 1);

    connect(m_chooser, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        publishStatistics();
        if (!m_shell.IsBusy()) build(false);
    });
    connect(m_length, &QSpinBox::valueChanged, this, [this] { publishStatistics(); });
    publishStatistics();
    m_stateAnnounced = m_ws.Shared().Subscribe(workspace::TChange::StatView, [this] {
        m_host.refreshView(this, this, [this, state = m_ws.Shared().StatView()] { showState(state); });
    });
    connect(m_length, &QSpinBox::editingFinished, this, [this] {
        if (!m_shell.IsBusy() && m_length->hasFocus()) build(false);
    });
    follow(workspace::TChange::Analysis, [this] { build(false); });
    follow(workspace::TChange::Parameters, [this] { build(true); });
    follow(workspace::TChange::Registry, [this] { build(true); });
    follow(workspace::TChange::Choosers, [this] { fillChooser(stats::BuildChoosers(m_stats), m_ws.Shared().ChooserChange().KeepSelection); });
}

void StatsView::createCommands()
{
    const auto enabled = [this] { return !m_ws.Combs().Empty() && !selectedRows().empty(); };
    m_commands.add(cmd::StatFilter_Include, QStringLiteral("Оставить выделенные"), QString(),
                      [this] { statFilter(false); }, enabled);
    m_commands.add(cmd::StatFilter_Exclude, QStringLiteral("Удалить выделенные"), QString(),
                      [this] { statFilter(true); }, enabled);
}

void StatsView::createTableCommands()
{
    m_commands.add(cmd::DrawsStatCalc, QStringLiteral("Обновить"), QStringLiteral("Пересчитать статистику по выбранным параметрам"),
                   [this] { build(true); }, [this] { return m_ws.DrawCount() > 0 && chosenMethod() >= 0; });
    QAction* prefetch = m_commands.add(cmd::DrawsStatePrefetchsEnabled,
                                       QStringLiteral("Использовать сравнение с полным набором комбинаций"), QString(), [this] {
        ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::PrefetchsEnabled, cmd::DrawsStatePrefetchsEnabled);
        m_cache.CreatePrefetchFiles(m_stats, {.Enabled = m_ws.View().PrefetchsEnabled}, m_shell);
        applyNormColumns();
        build(true);
    });
    prefetch->setCheckable(true);
    QAction* totalLine = m_commands.add(cmd::DrawsStatShowTotalLine, QStringLiteral("График идеального распределения"), QString(),
                                        [this] {
        shell::BusyScope busy(m_shell, "Создание графиков...");
        ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::ShowTotalLine, cmd::DrawsStatShowTotalLine);
        build(true);
    }, [this] { return m_ws.View().PrefetchsEnabled; });
    totalLine->setCheckable(true);
}

std::vector<int> StatsView::selectedRows() const
{
    return SelectedRows(m_view);
}

void StatsView::statFilter(bool exclude)
{
    auto& ws = m_ws;
    const std::vector<int> rows = selectedRows();
    filters::TFilterScope scope{ws.Combs(), ws.History(), ws.Draws(), ws.DrawsOffset(), m_ws.View().SortedDraws, m_shell};
    try {
        ws.Combs().MakeUndoCopy(m_shell);
        const filters::TMarkedValues marked = filters::MarkedRows(m_table, rows);
        filters::FilterCombs(m_stats, chosenMethod(), us(m_chooser->itemText(m_chooser->currentIndex())), marked, exclude,
                             scope);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка фильтрации комбинаций!", e.what());
    }
    ws.Combs().NotifyChanged();
}

void StatsView::attachCommands()
{
    m_refresh->setDefaultAction(m_commands.command(cmd::DrawsStatCalc));
    m_refresh->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_commands.fillContextMenu(m_view, {cmd::StatFilter_Include, cmd::StatFilter_Exclude, cmd::DrawsStatCalc,
                                        cmd::DrawsStatePrefetchsEnabled, cmd::DrawsStatShowTotalLine, cmd::FiltersInfo});
}

void StatsView::fillChooser(const stats::TChoosers& choosers, bool keepSelection)
{
    const int previous = keepSelection ? m_chooser->currentIndex() : 0;
    QSignalBlocker block(m_chooser);
    m_chooser->clear();
    m_methods.clear();
    // The list keeps its order (the registry's or by name): a group's caption stands wherever
    // the group changes.
    const auto groupOf = [this](const stats::TChooserEntry& e) {
        return e.Method >= 0 && e.Method < m_stats.MethodCount() ? m_stats.Method(e.Method).Kind->GetGroup() : stats::GroupCountTotal;
    };
    for (const auto& entry : choosers.Stat) {
        m_chooser->addItem(qs(entry.Name));
        m_chooser->setItemData(m_chooser->count() - 1, groupOf(entry), GroupedMethodDelegate::GroupRole);
        m_chooser->setItemData(m_chooser->count() - 1, qs(entry.Name), Qt::ToolTipRole);
        m_methods.push_back(entry.Method);
    }
    // The list opens as wide as its longest name, however narrow the box is.
    m_chooser->view()->setMinimumWidth(m_chooser->view()->sizeHintForColumn(0) + 24);
    if (previous >= 0 && previous < m_chooser->count()) m_chooser->setCurrentIndex(previous);
    else if (m_chooser->count() > 0) m_chooser->setCurrentIndex(0);
    publishStatistics();
    block.unblock();
    if (!m_savedMethod.empty()) chooseMethodCode(std::exchange(m_savedMethod, {}));
}

void StatsView::restoreSettings(const workspace::FormSettings& frm)
{
    // The check marks of the view's flags (registered before the settings are read).
    for (const auto& [name, flag] : {std::pair{cmd::DrawsStatePrefetchsEnabled, &workspace::TViewSettings::PrefetchsEnabled},
                                     std::pair{cmd::DrawsStatShowTotalLine, &workspace::TViewSettings::ShowTotalLine}})
        if (QAction* a = m_commands.command(name)) a->setChecked(m_ws.View().*flag);
    RestoreListColumns(m_view, frm, "StatTable");
    // "%d,%d": sort column and direction (0 ascending).
    const std::string sortType = frm.ReadString("StatTable.SortType", "1,0");
    const auto comma = sortType.find(',');
    int64_t column = 1, direction = 0;
    if (comma != std::string::npos && util::TryParseInt(sortType.substr(0, comma), column)
        && util::TryParseInt(sortType.substr(comma + 1), direction) && column >= 0 && column < stats::StatColumns)
        m_view->horizontalHeader()->setSortIndicator(static_cast<int>(column),
                                                     direction == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_length->setValue(std::max(1, frm.ReadInt("DrawsStatLen", 1000)));
    m_savedMethod = frm.ReadString("DrawsStatMethod", "");
    const int statHeight = frm.ReadInt("DrawsStatHeight", -1);
    if (statHeight > 0) m_splitter->setSizes({std::max(100, window()->height() - statHeight), statHeight});
    applyNormColumns();
}

void StatsView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, "StatTable", values);
    const auto* header = m_view->horizontalHeader();
    values.emplace_back("StatTable.SortType", util::Format("%d,%d", {header->sortIndicatorSection(),
                                                                     header->sortIndicatorOrder() == Qt::AscendingOrder ? 0 : 1}));
    values.emplace_back("DrawsStatLen", std::to_string(m_length->value()));
    values.emplace_back("DrawsStatMethod", chosenMethodCode());
    values.emplace_back("DrawsStatHeight", std::to_string(m_splitter->sizes().value(1)));
}

void StatsView::publishStatistics()
{
    m_ws.Shared().SetStatistics(chosenMethod(), m_length->value());
}

int StatsView::chosenMethod() const
{
    const int i = m_chooser->currentIndex();
    return i >= 0 && i < static_cast<int>(m_methods.size()) ? m_methods[i] : -1;
}

std::string StatsView::chosenMethodCode() const
{
    const int m = chosenMethod();
    return m >= 0 && m < m_stats.MethodCount() ? m_stats.Method(m).MethodCode() : std::string();
}

void StatsView::chooseMethodCode(const std::string& code)
{
    const int m = code.empty() ? -1 : m_stats.FindMethod(code);
    const auto it = std::find(m_methods.begin(), m_methods.end(), m);
    if (m >= 0 && it != m_methods.end()) m_chooser->setCurrentIndex(static_cast<int>(it - m_methods.begin()));
}

void StatsView::applyNormColumns()
{
    for (int c = 3; c <= 5; ++c) m_view->setColumnHidden(c, !m_ws.View().PrefetchsEnabled);
}

void StatsView::build(bool force)
{
    stats::TStatTableRequest request;
    request.Method = chosenMethod();
    request.DrawsStatLen = m_length->value();
    request.DrawsOffset = m_ws.DrawsOffset();
    request.SortedDraws = m_ws.View().SortedDraws;
    request.PrefetchsEnabled = m_ws.View().PrefetchsEnabled;
    request.ShowTotalLine = m_ws.View().ShowTotalLine;
    const auto header = m_view->horizontalHeader();
    m_table.SortRows(header->sortIndicatorSection(), header->sortIndicatorOrder() == Qt::AscendingOrder);
    if (!m_table.Build(m_stats, m_cache, request, m_shell, force)) return;
    m_model->reload();
    applyNormColumns();
    drawChart();
}

void StatsView::showState(const filters::TStatViewState& state)
{
    {
        const QSignalBlocker blockChooser(m_chooser);
        const QSignalBlocker blockLength(m_length);
        const auto it = std::find(m_methods.begin(), m_methods.end(), state.Method);
        if (it != m_methods.end()) m_chooser->setCurrentIndex(static_cast<int>(it - m_methods.begin()));
        m_length->setValue(state.DrawsLen);
    }
    publishStatistics();
    showTable();
    m_view->clearSelection();
    for (int row : state.Selected)
        if (row >= 0 && row < m_model->rowCount())
            m_view->selectionModel()->select(m_model->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void StatsView::showTable()
{
    {
        // The table is already in this order; the header only shows it.
        const QSignalBlocker blockHeader(m_view->horizontalHeader());
        m_view->horizontalHeader()->setSortIndicator(m_table.SortColumn(),
                                                     m_table.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    m_model->reload();
    m_view->horizontalHeader()->viewport()->update();
    drawChart();
}

void StatsView::drawChart()
{
    m_chart->clear();
    if (m_table.ActualLine().empty() && m_table.TotalLine().empty()) return;
    m_chart->setUpValueAxes();
    // The points stand at their values when every value is a number (sums, counts), else at
    // their place in the order of the values, named by them.
    std::vector<std::pair<double, QString>> values;
    std::map<double, QString> byPlace;
    bool numeric = true;
    for (const auto* line : {&m_table.ActualLine(), &m_table.TotalLine()})
        for (const auto& p : *line) {
            if (byPlace.count(p.X)) continue;
            const QString label = qs(m_table.PointLabel(p));
            bool ok = false;
            AnalysisChart::numberLocale().toDouble(label, &ok);
            numeric = numeric && ok;
            byPlace.emplace(p.X, label);
        }
    const auto xOf = [&](const stats::TChartPoint& p) { return numeric ? AnalysisChart::numberLocale().toDouble(byPlace[p.X]) : p.X; };
    QStringList categories;
    if (!numeric) {
        // A category stands at its place 1..n; a place no line has stays unnamed.
        for (const auto& [place, label] : byPlace) {
            const auto i = static_cast<qsizetype>(std::llround(place)) - 1;
            if (i < 0) continue;
            while (categories.size() <= i) categories.append(QString());
            categories[i] = label;
        }
    }
    const auto addLine = [&](const std::vector<stats::TChartPoint>& points, const QString& title, QColor color,
                             int width, bool markers) {
        QList<QPointF> xy;
        xy.reserve(static_cast<qsizetype>(points.size()));
        for (const auto& p : points) xy.append(QPointF(xOf(p), p.Y));
        QLineSeries* series = m_chart->addLine(title, color, xy, width);
        if (markers) {
            series->setPointsVisible(true);
            series->setMarkerSize(2);
            series->setBrush(QColor(0xFF, 0x00, 0xFF));
        }
        m_chart->trackHover(series, [this, series](const QPointF& p) {
            return QStringLiteral("%1\nЗначение: %2\nКоличество: %3")
                .arg(series->name(), m_chart->xLabel(p.x()), AnalysisChart::numberText(p.y()));
        });
    };
    addLine(m_table.ActualLine(), QStringLiteral("Фактические данные"), QColor(0x00, 0x80, 0x00), 2, true);
    if (m_table.HasTotalLine())
        addLine(m_table.TotalLine(), QStringLiteral("Все возможные комбинации"), QColor(0xFF, 0x00, 0x00), 1, false);
    m_chart->setCategoriesX(categories);
    m_chart->fitValueAxes();
}

void StatsView::createExportCommand()
{
    m_commands.add(cmd::DrawsStatExportToExcel, QStringLiteral("Экспорт статистики в Microsoft Excel"), QString(), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::StatTable,
                    workspace::StatTableSheet(m_table, m_ws.View().PrefetchsEnabled));
    }, [this] { return m_table.RowCount() > 0; });
    m_commands.fillContextMenu(m_view, {TCommandSet::Separator, cmd::DrawsStatExportToExcel});
}
