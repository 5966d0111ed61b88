#include "app/views/ratingsview.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QDialog>
#include <QLabel>
#include <QTabWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include "app/formchart.h"
#include "app/testcharts.h"
#include "core/scenario/testreport.h"
#include "core/stakes/sametext.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/workspace/listexport.h"
#include "app/xlsexport.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/language.h"
#include "core/workspace/formsettings.h"
#include "core/util/format.h"
#include "core/util/ini.h"

using namespace kv;

static_assert(std::size(cmd::RatingsEffModes) == stakes::RatingEffModeCount);

int RatingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_ratings.Count();
}

int RatingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RatingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    // The profit test's p and q say nothing without prizes.
    const bool noProfitTest = m_prizesEmpty && (index.column() == LuckColumn + 2 || index.column() == LuckColumn + 3);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() >= LuckColumn) {
            const stakes::TLuckResult* r = m_luck.Find(m_ratings[index.row()]);
            if (!r) return QString();
            if (noProfitTest) return QStringLiteral("-");
            const double values[4] = {r->PHits, r->QHits, r->PProfit, r->QProfit};
            const double v = values[index.column() - LuckColumn];
            if (v < 0) return QString();
            return qs(stakes::LuckPText(v, m_luckDraws)).replace(QLatin1Char('.'), QLocale().decimalPoint());
        }
        return qs(stakes::RatingCellText(m_ratings.Items(), index.row(), index.column(), m_ratings.EffMode()));
    case Qt::ToolTipRole:
        if (noProfitTest && m_luck.Find(m_ratings[index.row()])) return TrText(QString::fromUtf8(PrizesEmptyHint));
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant RatingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) {
        if (section == LuckColumn) return TrText(QString::fromUtf8(stakes::LuckHitsCaption));
        if (section == LuckColumn + 1) return TrText(QStringLiteral("q (совпадения)"));
        if (section == LuckColumn + 2) return TrText(QString::fromUtf8(stakes::LuckProfitCaption));
        if (section == LuckColumn + 3) return TrText(QStringLiteral("q (профит)"));
        return TrText(QString::fromUtf8(stakes::RatingColumnCaption(section)));
    }
    // The money columns: profit, profit per stake and the profit test.
    if (role == Qt::ToolTipRole && m_prizesEmpty &&
        (section == 4 || section == 5 || section == LuckColumn + 2 || section == LuckColumn + 3))
        return TrText(QString::fromUtf8(PrizesEmptyHint));
    if (role == Qt::ToolTipRole && section == LuckColumn)
        return TrText(QStringLiteral("Доля случайных тиражей, на которых ставки строки совпали бы не меньше, чем "
                                     "на настоящих. Малое значение (меньше 0,05) - результат вряд ли случаен. "
                                     "Считается командой \"Проверка на случайность\""));
    if (role == Qt::ToolTipRole && (section == LuckColumn + 1 || section == LuckColumn + 3))
        return TrText(QStringLiteral("p с поправкой на число строк, проверенных вместе (Бенджамини-Хохберг): среди "
                                     "строк с q меньше 0,05 случайных находок в среднем не больше 5%"));
    if (role == Qt::ToolTipRole && section == LuckColumn + 2)
        return TrText(QStringLiteral("Доля случайных тиражей, на которых ставки строки дали бы профит не меньше "
                                     "настоящего. Малое значение (меньше 0,05) - результат вряд ли случаен. "
                                     "Считается командой \"Проверка на случайность\""));
    if (role == Qt::ToolTipRole) {
        // The short captions say little: what each column counts.
        static const char* const hints[6] = {
            "Идея ставок: комментарий, общий для ее ставок",
            "Сколько проверенных ставок у идеи",
            "Сумма совпавших чисел всех ставок",
            "Совпало / Ставок: совпавших чисел на ставку",
            "Сумма профита всех ставок",
            "Профит / Ставок: профит на ставку"};
        if (section >= 0 && section < 6) return TrText(QString::fromUtf8(hints[section]));
        if (section >= 6 && section <= 14)
            return TrText(QStringLiteral("Ставок, у которых совпадений: %1")).arg(section - 6);
        if (section >= 15 && section <= 23)
            return TrText(QStringLiteral("Эффективность для совпадений %1: %2 (меню «Эффективность (столбцы E0..n)»)"))
                .arg(section - 15)
                .arg(TrText(QString::fromUtf8(stakes::RatingEffModeCaption(m_ratings.EffMode()))).toLower());
        return {};
    }
    // A first click on a number column puts the best rows on top; names start from A.
    if (role == Qt::InitialSortOrderRole) return section == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    return {};
}

int RatingRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RatingRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : stakes::RatingColumnCount;
}

QVariant RatingRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return qs(stakes::RatingCellText(m_rows, index.row(), index.column(), m_effMode));
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant RatingRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QString::fromUtf8(stakes::RatingColumnCaption(section));
}

void RatingsModel::reload()
{
    beginResetModel();
    endResetModel();
}

void RatingsModel::repaintAll()
{
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

RatingsView::RatingsView(const ViewContext& ctx)
    : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto& ratings = m_ws.Ratings();
    m_model = new RatingsModel(ratings, m_luck, m_luckDraws, this);
    m_view = NewRowList(QString::fromLatin1(ListName), m_model);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    const QFontMetrics fm = m_view->fontMetrics();
    m_view->setColumnWidth(0, 240);
    for (int c = 1; c < stakes::RatingColumnCount; ++c) {
        const char* sample = c <= 2 ? "000000" : c <= 5 ? "-00000.00" : c < stakes::RatingEffColumn ? "00000" : "-000.000%";
        m_view->setColumnWidth(c, fm.horizontalAdvance(QString::fromLatin1(sample)) + 12);
    }
    for (int c = RatingsModel::LuckColumn; c < RatingsModel::ColumnCount; ++c)
        m_view->setColumnWidth(c, fm.horizontalAdvance(QStringLiteral("p (совпадения)")) + 16);
    layout->addWidget(m_view);
    m_chance = new QLabel(this);
    m_chance->setObjectName(QStringLiteral("LuckChance"));
    m_chance->setWordWrap(true);
    m_chance->hide();
    layout->addWidget(m_chance);
    showSortIndicator();

    // The names under the selected rows go to the shared state whenever rows or rating change.
    const auto publish = [this] { m_ws.Shared().SetRatingSelection(selectedNames()); };
    OnSelectionChanged(m_view, this, publish);
    ratings.onChanged = [this, publish] {
        publish();
        m_host.refreshView(this, this, [this] { refresh(); });
    };
    m_ratingsAnnounced = m_ws.Shared().Subscribe(workspace::TChange::Ratings, [this] { ratingsRefresh(); });
    connect(header, &QHeaderView::sortIndicatorChanged, this, &RatingsView::sortBy);
    connect(m_view, &QTableView::doubleClicked, this, [this] {
        QAction* a = m_commands.command(cmd::RatingsGraphOverlap);
        m_commands.updateActions();
        if (a && a->isEnabled()) a->trigger();
    });
    follow(workspace::TChange::Parameters, [this] { refresh(); });
}

void RatingsView::createCommands()
{
    auto& ws = m_ws;
    const auto notEmpty = [&ws] { return !ws.Ratings().Empty(); };
    m_commands.add(cmd::RatingsRefresh, QStringLiteral("Обновить рейтинг"),
                      QStringLiteral("Пересчитать рейтинг по текущим ставкам"), [this] { ratingsRefresh(); },
                      [&ws] { return ws.StakesFile().IsOpen(); });
    m_commands.add(cmd::RatingsExport, QStringLiteral("Экспорт рейтинга в CSV-файл"), QString(),
                      [this] { ratingsExport(); }, notEmpty);
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int mode = 0; mode < stakes::RatingEffModeCount; ++mode) {
        QAction* a = m_commands.add(cmd::RatingsEffModes[mode], QString::fromUtf8(stakes::RatingEffModeCaption(mode)),
                                       QString(), [this, mode] { setEffMode(mode); });
        a->setCheckable(true);
        a->setChecked(mode == ws.Ratings().EffMode());
        group->addAction(a);
    }
    m_commands.add(cmd::RatingsLuckTest, QStringLiteral("Проверка на случайность"),
                      QStringLiteral("Вероятность получить такой же результат на случайных тиражах (столбцы p и q) для "
                                     "выделенных строк или, без выделения, для всех"),
                      [this] { ratingsLuckTest(); },
                      [&ws] { return !ws.Ratings().Empty() && ws.StakesFile().IsOpen(); });
    m_commands.add(cmd::RatingsTestHalves, QStringLiteral("Рейтинг последнего теста"),
                      QStringLiteral("Строки рейтинга последнего теста отдельно по тиражам настройки и контрольным"),
                      [this] { ratingsTestHalves(); },
                      [&ws] {
                          std::error_code ec;
                          return std::filesystem::exists(ws.DataDir() / scenario::TestRunFileName, ec);
                      });
    m_commands.add(cmd::RatingsLuckChart, QStringLiteral("График проверки на случайность"),
                      QStringLiteral("Накопленные совпадения строки на фоне полосы случайных тиражей"),
                      [this] { ratingsLuckChart(); },
                      [this, &ws] { return selectedRows().size() == 1 && ws.StakesFile().IsOpen(); });
    m_commands.add(cmd::RatingsGraphOverlap, QStringLiteral("Количество совпадений"),
                      QStringLiteral("График количества совпадений для выделенных строк рейтинга"),
                      [this] { ratingsGraphOverlap(); }, [this] { return !selectedRows().empty(); });
}

void RatingsView::createMenus(QMenu* menu)
{
    auto* eff = new QMenu(QStringLiteral("Эффективность (столбцы E0..n)"), this);
    eff->setObjectName(cmd::menu::RatingsEff);
    m_commands.fillMenu(eff, std::vector<const char*>(std::begin(cmd::RatingsEffModes), std::end(cmd::RatingsEffModes)));

    // Commands of other views that act on the selected rows join the menus.
    auto* context = new QMenu(this);
    for (QMenu* m : {menu, context}) {
        m_commands.fillMenu(m, {cmd::RatingsRefresh, TCommandSet::Separator, cmd::RatingsGraphOverlap, cmd::StakesGraphOverlap,
                                cmd::StakesGraphProfits, cmd::RatingsToScript, cmd::RatingsLuckTest, cmd::RatingsLuckChart, cmd::RatingsTestHalves,
                                TCommandSet::Separator});
        m->addMenu(eff);
        m_commands.fillMenu(m, {TCommandSet::Separator, cmd::RatingsExport, cmd::RatingsXlsExport});
    }
    m_commands.popupOnRequest(m_view, m_view->viewport(), context);
}

void RatingsView::refresh()
{
    m_model->setPrizesEmpty(m_stats.Config().Profits.empty());
    m_model->reload();
    m_host.setStatusField(5, qs(stakes::RatingsCountText(m_ws.Ratings().Count())));
}

std::vector<int> RatingsView::selectedRows() const
{
    return SelectedRows(m_view);
}

std::vector<std::string> RatingsView::selectedNames() const
{
    const std::vector<int> rows = selectedRows();
    return stakes::RatingNames(m_ws.Ratings().Items(), rows);
}

void RatingsView::restoreSettings(const workspace::FormSettings& frm)
{
    auto& ratings = m_ws.Ratings();
    ratings.SetEffMode(m_ws.View().RatingsEffMode);
    for (int mode = 0; mode < stakes::RatingEffModeCount; ++mode)
        if (QAction* a = m_commands.command(cmd::RatingsEffModes[mode])) a->setChecked(mode == ratings.EffMode());
    workspace::ApplyRatingsSortOrder(frm, ratings);
    showSortIndicator();
    for (int c = 0; c < stakes::RatingColumnCount; ++c) {
        const int w = frm.ReadInt(util::Format("%s.Column%d", {ListName, c}), -1);
        if (w > 0 && w < 2000) m_view->setColumnWidth(c, w);
    }
    m_luckDraws = std::clamp(frm.ReadInt("LuckTestDraws", 10000), 100, 10000000);
    m_model->setLuckDraws(m_luckDraws);
    m_model->repaintAll();
}

void RatingsView::saveSettings(SettingValues& values) const
{
    const auto& ratings = m_ws.Ratings();
    for (int c = 0; c < stakes::RatingColumnCount; ++c)
        values.emplace_back(util::Format("%s.Column%d", {ListName, c}), std::to_string(m_view->columnWidth(c)));
    values.emplace_back("LuckTestDraws", std::to_string(m_luckDraws));
    values.emplace_back(util::Format("%s.SortType", {ListName}),
                        util::Format("%d,%d", {ratings.SortColumn(), ratings.SortDescending() ? 1 : 0}));
}

void RatingsView::showSortIndicator()
{
    const auto& ratings = m_ws.Ratings();
    const QSignalBlocker block(m_view->horizontalHeader());
    m_view->horizontalHeader()->setSortIndicator(ratings.SortColumn(),
                                                 ratings.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void RatingsView::sortBy(int column, Qt::SortOrder order)
{
    auto& ratings = m_ws.Ratings();
    if (m_shell.IsBusy() || column >= stakes::RatingColumnCount) {
        showSortIndicator();
        return;
    }
    // The selection follows its rows to their new places.
    const std::vector<std::string> names = selectedNames();
    ratings.SortRatings(m_shell, column, order == Qt::DescendingOrder);
    showSortIndicator();
    QItemSelection selection;
    for (const std::string& name : names) {
        const int row = ratings.Find(name);
        if (row >= 0) selection.select(m_model->index(row, 0), m_model->index(row, RatingsModel::ColumnCount - 1));
    }
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_commands.updateActions();
}

void RatingsView::ratingsRefresh()
{
    auto& ws = m_ws;
    ws.RatingsRefresh(m_shell);
    refresh();
}

void RatingsView::ratingsExport()
{
    QFileDialog dialog(m_host.mainWindow(), QStringLiteral("Экспорт рейтинга в CSV-файл"), qs(m_ws.DataDir().string()),
                       QStringLiteral("CSV-файлы (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(stakes::RatingsExportExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    m_ws.Ratings().RatingsExport(m_shell,
                                               std::filesystem::path(dialog.selectedFiles().first().toStdString()));
}

void RatingsView::ratingsLuckTest()
{
    const auto& ratings = m_ws.Ratings();
    std::vector<int> rows = selectedRows();
    if (rows.empty())
        for (int r = 0; r < ratings.Count(); ++r) rows.push_back(r);
    std::erase_if(rows, [&](int row) { return row < 0 || row >= ratings.Count(); });
    std::vector<std::string> todo;
    std::vector<int> todoRows;
    for (int row : rows)
        if (!m_luck.Find(ratings[row])) {
            todo.push_back(ratings[row].Name);
            todoRows.push_back(row);
        }
    if (rows.empty()) return;
    const stakes::TPrizeTable prizes(m_stats.Config());
    shell::BusyScope busy(m_shell, "Проверка на случайность...");
    m_shell.ProgressOpen(100, true, "Проверка на случайность...");
    bool done = true;
    try {
        if (!todo.empty()) {
            // The rows share their random draws: one pass for all of them.
            const stakes::TLuckRowsResult res = stakes::LuckTestRows(
                stakes::LuckGroups(m_ws.StakesFile(), todo), prizes, {.Draws = m_luckDraws}, {}, [&](int n, int total) {
                    m_shell.ProgressSetPosition(int(int64_t(n) * 100 / std::max(1, total)));
                    return !m_shell.ProgressCancelled();
                });
            done = !res.Cancelled;
            for (std::size_t i = 0; done && i < todo.size(); ++i) {
                const stakes::TLuckPart& all = res.Rows[i].All;
                stakes::TLuckResult r;
                r.Hits = all.Hits;
                r.Profit = all.Profit;
                r.Stakes = all.Stakes;
                if (all.Draws > 0) {
                    r.PHits = all.PHits;
                    r.PProfit = all.PProfit;
                    r.Repetitions = res.Repetitions;
                    r.AtLeastHits = all.AtLeastHits;
                    r.AtLeastProfit = all.AtLeastProfit;
                }
                m_luck.Store(ratings[todoRows[i]], r);
            }
        }
    } catch (const std::exception& e) {
        done = false;
        m_shell.ShowFailure("Ошибка проверки на случайность!", e.what());
    }
    m_shell.ProgressClose();
    if (done) {
        // q over the rows tested together this time, the ones known before included.
        std::vector<stakes::TLuckResult> results;
        std::vector<int> tested;
        for (int row : rows)
            if (const stakes::TLuckResult* r = m_luck.Find(ratings[row]); r && r->Repetitions > 0) {
                results.push_back(*r);
                tested.push_back(row);
            }
        std::vector<stakes::TLuckResult*> refs;
        for (stakes::TLuckResult& r : results) refs.push_back(&r);
        stakes::SetLuckQValues(refs);
        int belowP = 0, belowQ = 0;
        for (std::size_t i = 0; i < results.size(); ++i) {
            m_luck.Store(ratings[tested[i]], results[i]);
            belowP += results[i].PHits < 0.05;
            belowQ += results[i].QHits < 0.05;
        }
        m_chance->setText(qs(stakes::LuckChanceText(int(results.size()), belowP, belowQ)));
        m_chance->show();
    }
    m_model->repaintAll();
}

QWidget* RatingsView::ratingsLuckChart()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1 || rows.front() >= m_ws.Ratings().Count()) return nullptr;
    const std::string name = m_ws.Ratings()[rows.front()].Name;
    const stakes::TPrizeTable prizes(m_stats.Config());
    // A row of the last test is drawn over that test's draws, its hold-out marked.
    const scenario::TTestRun run = scenario::LoadTestRun(m_ws.DataDir());
    const auto inRun = [&](const stakes::TRatingsArray& half) {
        return std::any_of(half.begin(), half.end(), [&](const stakes::TRatingRecord& r) { return stakes::SameText(r.Name, name); });
    };
    const bool ofRun = !run.Empty() && (inRun(run.Tuning) || inRun(run.Held));
    stakes::TLuckRowsResult res;
    {
        shell::BusyScope busy(m_shell, "Создание графиков...");
        m_shell.ProgressOpen(100, true, "Создание графиков...");
        try {
            const std::string names[1] = {name};
            std::vector<std::vector<stakes::TLuckGroup>> groups = stakes::LuckGroups(m_ws.StakesFile(), names);
            if (ofRun)
                std::erase_if(groups.front(), [&](const stakes::TLuckGroup& g) {
                    return g.DrawNo < run.FirstDrawNo || g.DrawNo > run.LastDrawNo;
                });
            res = stakes::LuckTestRows(groups, prizes,
                                       {.Draws = m_luckDraws, .HoldoutFrom = ofRun ? run.HoldoutFrom : 0, .BandPoints = 200},
                                       {}, [&](int n, int total) {
                                           m_shell.ProgressSetPosition(int(int64_t(n) * 100 / std::max(1, total)));
                                           return !m_shell.ProgressCancelled();
                                       });
        } catch (const std::exception& e) {
            m_shell.ProgressClose();
            m_shell.ShowFailure("Ошибка проверки на случайность!", e.what());
            return nullptr;
        }
        m_shell.ProgressClose();
    }
    if (res.Cancelled || res.Rows.empty() || res.Rows.front().Band.DrawNo.size() < 2) {
        if (!res.Cancelled) m_shell.ShowError(stakes::TooFewDrawsText);
        return nullptr;
    }
    const int64_t expected = scenario::ExpectedStakeResultRaw(prizes);
    const bool pays = scenario::PaysPrizes(prizes);
    auto* window = new QDialog(m_host.mainWindow());
    window->setObjectName(QStringLiteral("RatingsLuckChart"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(qs(name));
    auto* layout = new QVBoxLayout(window);
    const int32_t holdoutFrom = ofRun ? run.HoldoutFrom : 0;
    layout->addWidget(NewBandChart(res.Rows.front().Band, false, expected, holdoutFrom, window));
    if (pays) layout->addWidget(NewBandChart(res.Rows.front().Band, true, expected, holdoutFrom, window));
    window->resize(900, pays ? 700 : 420);
    window->show();
    return window;
}

QWidget* RatingsView::ratingsTestHalves()
{
    const scenario::TTestRun run = scenario::LoadTestRun(m_ws.DataDir());
    if (run.Empty()) return nullptr;
    auto* window = new QDialog(m_host.mainWindow());
    window->setObjectName(QStringLiteral("RatingsTestHalves"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Рейтинг последнего теста"));
    auto* layout = new QVBoxLayout(window);
    QString text = QStringLiteral("Тест по %1 тиражам (№ %2 - № %3)").arg(run.Count).arg(run.FirstDrawNo).arg(run.LastDrawNo);
    if (run.Holdout > 0)
        text += QStringLiteral(", контрольные тиражи: %1 (с № %2)").arg(run.Holdout).arg(run.HoldoutFrom);
    layout->addWidget(new QLabel(text, window));
    auto* tabs = new QTabWidget(window);
    const auto add = [&](const stakes::TRatingsArray& rows, const QString& caption) {
        auto* model = new RatingRowsModel(rows, m_ws.Ratings().EffMode(), window);
        auto* view = NewRowList(QStringLiteral("RatingsTestHalf"), model);
        view->setColumnWidth(0, 320);
        tabs->addTab(view, caption);
    };
    add(run.Tuning, run.Holdout > 0 ? QStringLiteral("Тиражи настройки") : QStringLiteral("Все тиражи теста"));
    if (run.Holdout > 0) add(run.Held, QStringLiteral("Контрольные тиражи"));
    layout->addWidget(tabs, 1);
    window->resize(1000, 420);
    window->show();
    return window;
}

void RatingsView::setEffMode(int mode)
{
    auto& ratings = m_ws.Ratings();
    ratings.SetEffMode(mode);
    if (QAction* a = m_commands.command(cmd::RatingsEffModes[ratings.EffMode()])) a->setChecked(true);
    try {
        workspace::TViewSettings view = m_ws.View();
        view.RatingsEffMode = ratings.EffMode();
        m_ws.SetViewSettings(view);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    m_model->repaintAll();
}

TFormChart* RatingsView::ratingsGraphOverlap()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return nullptr;
    const stakes::TChartData chart = stakes::RatingsGraphOverlap(m_shell, m_ws.Ratings().Items(), rows);
    QAction* command = m_commands.command(cmd::RatingsGraphOverlap);
    auto* window = new TFormChart(qs(chart.Caption), m_host.mainWindow());
    window->setObjectName(QStringLiteral("RatingsGraphOverlapChart"));
    window->setChart(chart);
    window->setWindowTitle(command ? command->statusTip() : qs(chart.Caption));
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    return window;
}

void RatingsView::createExportCommand()
{
    m_commands.add(cmd::RatingsXlsExport, QStringLiteral("Экспорт рейтинга в Microsoft Excel"), QString(), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Ratings,
                    workspace::RatingsSheet(m_ws.Ratings(), {&m_luck, m_luckDraws, m_stats.Config().Profits.empty()}));
    }, [this] { return !m_ws.Ratings().Empty(); });
}
