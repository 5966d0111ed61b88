#include "app/views/scenarioview.h"

#include <QAction>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/formscript.h"
#include "app/formsurvival.h"
#include "app/formtestcount.h"
#include "core/scenario/scriptrunner.h"
#include "core/scenario/testreport.h"
#include "core/util/format.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "core/shell/shell.h"

using namespace kv;

namespace {

// The file dialogs take the Qt form of the scenario filter ("name (*.lsc)").
QString scenarioFilter()
{
    const std::string filter = scenario::ScenarioFileFilter;
    return TrText(qs(filter.substr(0, filter.find('|'))));
}

} // namespace

int ScenarioModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_scenario.Count();
}

int ScenarioModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : scenario::ScenarioColumnCount;
}

const ScenarioModel::RowTexts& ScenarioModel::rowTexts(int row) const
{
    if (m_rows.size() != static_cast<std::size_t>(m_scenario.Count())) m_rows.assign(m_scenario.Count(), std::nullopt);
    auto& cached = m_rows[static_cast<std::size_t>(row)];
    if (!cached) cached = scenario::ScenarioRowTexts(m_scenario.Lines()[static_cast<std::size_t>(row)], m_list);
    return *cached;
}

QVariant ScenarioModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_scenario.Count() || index.column() >= scenario::ScenarioColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return qs(rowTexts(index.row())[static_cast<std::size_t>(index.column())]);
    return {};
}

QVariant ScenarioModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < scenario::ScenarioColumnCount)
        return qs(scenario::ScenarioColumnCaption(section));
    return {};
}

void ScenarioModel::reload()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

ScenarioView::ScenarioView(const ViewContext& ctx)
    : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    // Two rows of buttons: one row does not fit beside the draw list.
    m_tools = new QToolBar;
    m_tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_tools);
    m_lineTools = new QToolBar;
    m_lineTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_lineTools);

    m_model = new ScenarioModel(m_ws.Scenario(), m_stats, this);
    m_view = NewRowList(QStringLiteral("ScriptList"), m_model);
    m_view->setWordWrap(false);
    m_view->setColumnWidth(0, 160);
    m_view->setColumnWidth(1, 320);
    for (int c = 2; c < scenario::ScenarioColumnCount; ++c) m_view->setColumnWidth(c, 200);
    layout->addWidget(m_view, 1);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    for (int i = 0; i < StatusPanels; ++i) {
        m_status[i] = new QLabel;
        m_status[i]->setObjectName(QStringLiteral("ScriptStatus%1").arg(i));
        m_status[i]->setFrameShape(QFrame::StyledPanel);
        m_status[i]->setFrameShadow(QFrame::Sunken);
        m_status[i]->setMinimumWidth(i == StatusPanels - 1 ? 200 : 90);
        bar->addWidget(m_status[i], i == StatusPanels - 1 ? 1 : 0);
    }
    layout->addLayout(bar);
    m_status[1]->setText(qs(scenario::CycleText(0)));
    m_status[2]->setText(qs(scenario::LineText(0)));
    m_status[3]->setText(qs(scenario::StakesText(0)));

    m_ws.Scenario().onChanged = [this] { refresh(); };
    // Stakes checked during a run are rated like those of the stakes tab.
    m_runner = std::make_unique<scenario::TScriptRunner>(
        m_ws, m_stats, m_cache, m_ws.StatTable(), m_shell,
        m_ws.CheckSettings(stakes::TPrizeTable(m_stats.Config()), false).OnChecked);
    selectedRatingNames = [this] { return m_ws.Shared().RatingNames(); };
    connectRunner();
    connect(m_view, &QTableView::doubleClicked, this, [this] {
        m_commands.updateActions();
        QAction* edit = m_commands.command(cmd::ScriptEdit);
        if (edit && edit->isEnabled()) edit->trigger();
    });
    refresh();
    // The scenario shows its filters through the registry's codes.
    follow(workspace::TChange::Choosers, [this] { refresh(); });
}

ScenarioView::~ScenarioView() = default;

scenario::TScenario& ScenarioView::scenario()
{
    return m_ws.Scenario();
}

void ScenarioView::restoreSettings(const workspace::FormSettings& frm)
{
    RestoreListColumns(m_view, frm, "ScriptList");
}

void ScenarioView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, "ScriptList", values);
}

void ScenarioView::createCommands()
{
    const auto& sc = m_ws.Scenario();
    const auto hasLines = [&sc] { return !sc.Empty(); };
    const auto isStep = [this] { return selectedIsStep(); };

    m_commands.add(cmd::ScriptOpen, QStringLiteral("Открыть"), QString(), [this] { scriptOpen(); });
    m_commands.add(cmd::ScriptSave, QStringLiteral("Сохранить"), QString(), [this] { scriptSave(); }, hasLines);
    m_commands.add(cmd::ScriptLoad, QStringLiteral("Добавить сценарий"), QString(), [this] { scriptLoad(); });
    m_commands.add(cmd::ScriptAdd, QStringLiteral("Добавить фильтры"), QString(), [this] { scriptAdd(); });
    m_commands.add(cmd::ScriptEmpty, QStringLiteral("Добавить разделитель"), QString(), [this] { scriptEmpty(); },
                      hasLines);
    m_commands.add(cmd::ScriptClone, QStringLiteral("Клонировать"), QString(), [this] { scriptClone(); }, isStep);
    m_commands.add(cmd::ScriptEdit, QStringLiteral("Изменить"), QString(), [this] { scriptEdit(); }, isStep);
    m_commands.add(cmd::ScriptDel, QStringLiteral("Удалить"), QString(), [this] { scriptDel(); },
                      [this] { return !selectedRows().empty(); });
    m_commands.add(cmd::ScriptClr, QStringLiteral("Удалить все"), QString(), [this] { scriptClr(); }, hasLines);
    m_commands.add(cmd::ScriptUp, QStringLiteral("Переместить вверх"), QString(), [this] { scriptMove(true); },
                      [this] { return currentRow() > 0; });
    m_commands.add(cmd::ScriptDown, QStringLiteral("Переместить вниз"), QString(), [this] { scriptMove(false); },
                      [this, &sc] {
                          const int row = currentRow();
                          return row >= 0 && row < sc.Count() - 1;
                      });
    m_commands.add(cmd::RatingsToScript, QStringLiteral("Добавить в сценарий"), QString(),
                      [this] {
                          if (selectedRatingNames) ratingsToScript(selectedRatingNames());
                      },
                      [this] { return selectedRatingNames && !selectedRatingNames().empty(); });

    m_commands.add(cmd::ScriptRun, QStringLiteral("Прогноз"), QString(), [this] { scriptRun(); },
                      [this] { return m_runner->CanStart(); });
    m_commands.add(cmd::ScriptTest, QStringLiteral("Тест"), QString(), [this] { scriptTest(); },
                      [this] { return m_runner->CanStart(); });
    m_commands.add(cmd::ScriptStop, QStringLiteral("Стоп"), QString(), [this] { scriptStop(); },
                      [this] { return m_runner->CanStop(); }, true);
    QAction* log = m_commands.add(cmd::LogToggle, QStringLiteral("Журнал выполнения сценария"), QString(),
                                     [this] { logToggle(); }, [this] { return m_runner->CanChangeLogs(); });
    log->setCheckable(true);
    log->setChecked(m_ws.View().ScriptLogEnabled);
    m_commands.add(cmd::LogsDelete, QStringLiteral("Удалить журналы выполнения сценариев"), QString(),
                      [this] { logsDelete(); }, [this] { return m_runner->CanChangeLogs(); });
    // The survival of the last test, read back from its file.
    m_commands.add(cmd::ScriptSurvival, QStringLiteral("Эффективность фильтров"),
                      QStringLiteral("Как часто фильтры последнего теста оставляли выпавший билет"),
                      [this] { showSurvival(scenario::LoadSurvival(m_ws.DataDir() / scenario::SurvivalFileName)); },
                      [this] {
                          std::error_code ec;
                          return m_runner->CanChangeLogs()
                              && std::filesystem::exists(m_ws.DataDir() / scenario::SurvivalFileName, ec);
                      });
    m_commands.add(cmd::ScriptReport, QStringLiteral("Отчет о тесте..."),
                      QStringLiteral("Итоги последнего теста в браузере: контрольные тиражи, p и q идей, графики"),
                      [this] { scriptReport(); },
                      [this] {
                          std::error_code ec;
                          return m_runner->CanChangeLogs() && m_ws.StakesFile().IsOpen()
                              && std::filesystem::exists(m_ws.DataDir() / scenario::TestRunFileName, ec);
                      });
}

void ScenarioView::attachCommands()
{
    struct Group {
        QToolBar* bar;
        std::vector<const char*> names;
    };
    const std::vector<Group> groups = {
        {m_tools, {cmd::ScriptRun, cmd::ScriptTest, cmd::ScriptStop}},
        {m_tools, {cmd::ScriptOpen, cmd::ScriptSave, cmd::ScriptLoad}},
        {m_lineTools, {cmd::ScriptAdd, cmd::ScriptEmpty, cmd::ScriptClone, cmd::ScriptEdit, cmd::ScriptDel, cmd::ScriptClr}},
        {m_lineTools, {cmd::ScriptUp, cmd::ScriptDown}},
    };
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (g > 0) {
            if (groups[g].bar == groups[g - 1].bar) groups[g].bar->addSeparator();
            auto* sep = new QAction(m_view);
            sep->setSeparator(true);
            m_view->addAction(sep);
        }
        for (const char* name : groups[g].names) {
            QAction* a = m_commands.command(QString::fromLatin1(name));
            groups[g].bar->addAction(a);
            m_view->addAction(a);
        }
    }
    // The moves are arrows on the bar (their captions stay in the menus and hints), so that the
    // editing row fits beside the draw list.
    for (const auto& [name, icon] : {std::pair{cmd::ScriptUp, QStyle::SP_ArrowUp}, std::pair{cmd::ScriptDown, QStyle::SP_ArrowDown}}) {
        QAction* a = m_commands.command(QString::fromLatin1(name));
        a->setIcon(style()->standardIcon(icon));
        if (auto* button = qobject_cast<QToolButton*>(m_lineTools->widgetForAction(a))) {
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setToolTip(a->text());
        }
    }
}

void ScenarioView::refresh()
{
    m_model->reload();
    m_status[0]->setText(qs(scenario::ScenarioLinesText(scenario().Count())));
}

std::vector<int> ScenarioView::selectedRows() const
{
    return SelectedRows(m_view);
}

int ScenarioView::currentRow() const
{
    return CurrentSelectedRow(m_view);
}

bool ScenarioView::selectedIsStep() const
{
    const int row = currentRow();
    const auto& sc = m_ws.Scenario();
    return row >= 0 && row < sc.Count() && !scenario::IsSeparatorLine(sc.GetLine(row));
}

void ScenarioView::selectLine(int row)
{
    m_view->clearSelection();
    if (row < 0 || row >= m_model->rowCount()) return;
    const QModelIndex index = m_model->index(row, 0);
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(index);
}

void ScenarioView::setStatusPanel(int panel, const QString& text)
{
    if (panel >= 0 && panel < StatusPanels) m_status[panel]->setText(text);
}

QString ScenarioView::statusPanel(int panel) const
{
    return panel >= 0 && panel < StatusPanels ? m_status[panel]->text() : QString();
}

bool ScenarioView::editLine(const QString& title, std::string& line)
{
    const workspace::TSharedState& shared = m_ws.Shared();
    return TFormScript::EditScriptLine(line, title, shared.ExcludedDraws(), m_stats, m_shell, shared.StatMethod(),
                                       shared.StatLength(), m_host.mainWindow());
}

void ScenarioView::addAndSelect(std::string line)
{
    m_view->clearSelection();
    const int row = scenario().AddLine(std::move(line), m_shell);
    selectLine(row);
}

void ScenarioView::openFile(bool append)
{
    QFileDialog dialog(m_host.mainWindow(), append ? QStringLiteral("Добавить сценарий") : QStringLiteral("Открыть"),
                       qs(m_ws.DataDir().string()), scenarioFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(scenario::ScenarioFileExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    if (!append && !scenario().MayReplace(m_shell)) return;
    m_view->clearSelection();
    scenario().OpenFile(std::filesystem::path(dialog.selectedFiles().first().toStdString()), append, m_shell);
}

void ScenarioView::scriptOpen()
{
    openFile(false);
}

void ScenarioView::scriptLoad()
{
    openFile(true);
}

void ScenarioView::scriptSave()
{
    QFileDialog dialog(m_host.mainWindow(), QStringLiteral("Сохранить"), qs(m_ws.DataDir().string()),
                       scenarioFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(scenario::ScenarioFileExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    scenario().SaveScenario(std::filesystem::path(dialog.selectedFiles().first().toStdString()), m_shell);
}

void ScenarioView::scriptAdd()
{
    std::string line;
    if (editLine(QStringLiteral("Создание новой строки"), line)) addAndSelect(std::move(line));
}

void ScenarioView::scriptEmpty()
{
    addAndSelect({});
}

void ScenarioView::scriptClone()
{
    const int row = currentRow();
    if (row < 0 || row >= scenario().Count()) return;
    std::string line = scenario().GetLine(row);
    if (editLine(QStringLiteral("Создание новой строки"), line)) addAndSelect(std::move(line));
}

void ScenarioView::scriptEdit()
{
    const int row = currentRow();
    if (row < 0 || row >= scenario().Count()) return;
    std::string line = scenario().GetLine(row);
    if (!editLine(QStringLiteral("Редактирование строки"), line)) return;
    try {
        scenario().PutLine(row, std::move(line), m_shell);
    } catch (const std::exception& e) {
        m_shell.ShowError(e.what());
    }
    selectLine(row);
}

void ScenarioView::scriptDel()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !m_shell.AskDelete(static_cast<int>(rows.size()))) return;
    scenario().DeleteLines(rows, m_shell);
    m_view->clearSelection();
}

void ScenarioView::scriptClr()
{
    if (scenario().Empty() || !m_shell.AskDelete(scenario().Count())) return;
    scenario().Clear(m_shell);
    m_view->clearSelection();
}

void ScenarioView::scriptMove(bool up)
{
    const int row = currentRow();
    if (row < 0) return;
    selectLine(scenario().MoveLine(row, up, m_shell));
}

int ScenarioView::ratingsToScript(const std::vector<std::string>& names)
{
    const int added = scenario::RatingsToScript(names, scenario(), m_stats, m_shell);
    if (added > 0) m_host.showTab(this);
    return added;
}

// --- runs ----------------------------------------------------------------------------------------

void ScenarioView::connectRunner()
{
    scenario::TScriptRunnerHooks& hooks = m_runner->Hooks;
    hooks.RunningChanged = [this](bool running) {
        m_view->setEnabled(!running);
        m_ws.Shared().SetScenarioRunning(running);
        m_host.setRunning(running);
    };
    hooks.CommandsChanged = [this] { m_commands.updateActions(); };
    hooks.Status = [this](const scenario::TRunStatus& status) {
        m_host.refreshView(&m_status, this, [this, status] {
            m_status[1]->setText(qs(scenario::CycleText(status.Cycle)));
            m_status[2]->setText(qs(scenario::LineText(status.Line)));
            m_status[3]->setText(qs(scenario::StakesText(status.Stakes)));
            m_status[4]->setText(qs(status.Text));
        });
    };
    hooks.SelectLine = [this](int line) { selectLine(line); };
    hooks.RefreshStakeView = [this](bool refresh, bool goToLast) {
        m_ws.Shared().AnnounceStakes({.Rows = refresh, .GoToLast = goToLast});
    };
    hooks.RatingsChanged = [this] { m_ws.RatingsAfterCheck(m_shell); };
    hooks.StatView = [this](const filters::TStatViewState& state) { m_ws.Shared().AnnounceStatView(state); };
    hooks.OpenLog = [](const std::filesystem::path& file) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    };
}

void ScenarioView::prepareRun()
{
    workspace::ApplyToRun(m_ws.View(), m_runner->Options);
}

void ScenarioView::scriptRun()
{
    if (!m_runner->CanStart()) return;
    prepareRun();
    m_runner->ScriptRun();
    runFinished();
}

void ScenarioView::scriptTest()
{
    if (!m_runner->CanStart()) return;
    TFormTestCount dialog(scenario::TestCountDefault, scenario::TestCountMax(m_ws.DrawCount()), m_host.mainWindow(),
                          QStringLiteral("Тест заменит текущий список комбинаций; вернуть прежний список можно командой "
                                         "\"Отменить\" после окончания или остановки теста."));
    dialog.addHoldout();
    if (dialog.exec() != QDialog::Accepted) return;
    prepareRun();
    m_runner->ScriptTest(dialog.count(), dialog.holdout());
    runFinished();
    if (!m_runner->Survival().Empty()) showSurvival(m_runner->Survival().Summary(m_runner->LastTest().HoldoutFrom));
}

bool ScenarioView::writeReport(const QString& file)
{
    const stakes::TPrizeTable prizes(m_stats.Config());
    const int repetitions = std::clamp(int(m_ws.FormFile().ReadInt("LuckTestDraws", 10000)), 100, 10000000);
    shell::BusyScope busy(m_shell, "Создание отчета о тесте...");
    m_shell.ProgressOpen(100, true, "Создание отчета о тесте...");
    bool ok = false;
    try {
        const scenario::TTestReport report = scenario::BuildLastTestReport(
            m_ws.StakesFile(), m_ws.DataDir(), scenario::TScenario::FileName, prizes, {.Repetitions = repetitions},
            [this](int done, int total) {
                m_shell.ProgressSetPosition(int(int64_t(done) * 100 / std::max(1, total)));
                return !m_shell.ProgressCancelled();
            });
        if (!m_shell.ProgressCancelled()) {
            scenario::SaveTestReport(file.toStdString(), report);
            ok = true;
        }
    } catch (const std::exception& e) {
        m_shell.ShowError(util::Format("Ошибка записи в файл \"%s\"!\n\n%s", {file.toStdString(), e.what()}));
    }
    m_shell.ProgressClose();
    return ok;
}

void ScenarioView::scriptReport()
{
    const QString file = QFileDialog::getSaveFileName(m_host.mainWindow(), QStringLiteral("Отчет о тесте"),
                                                      qs((m_ws.DataDir() / "ScriptReport.html").string()),
                                                      QStringLiteral("Страницы HTML (*.html)"));
    if (file.isEmpty()) return;
    const QString name = file.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ? file : file + ".html";
    if (writeReport(name)) QDesktopServices::openUrl(QUrl::fromLocalFile(name));
}

void ScenarioView::showSurvival(std::vector<scenario::TSurvivalRow> rows)
{
    auto* form = new TFormSurvival(std::move(rows), m_shell, m_ws.DataDir(), m_host.mainWindow());
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
}

void ScenarioView::scriptStop()
{
    m_runner->ScriptStop();
}

void ScenarioView::runFinished()
{
    m_commands.updateActions();
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, m_host.mainWindow(), [this] { m_host.mainWindow()->close(); });
    }
}

bool ScenarioView::allowClose()
{
    if (!m_runner->Running()) return true;
    if (m_runner->AbortFlag() || m_runner->ScriptStop()) m_closeAfterRun = true;
    return false;
}

void ScenarioView::logToggle()
{
    const bool on = !m_ws.View().ScriptLogEnabled;
    m_commands.command(cmd::LogToggle)->setChecked(on);
    try {
        m_ws.SetViewFlag(&workspace::TViewSettings::ScriptLogEnabled, on);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
}

void ScenarioView::logsDelete()
{
    scenario::ScriptLogsDelete(m_ws.DataDir(), m_shell);
}
