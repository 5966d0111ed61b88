#include "core/workspace/workspace.h"

#include <algorithm>

#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "core/archive/sample.h"
#include "core/shell/shell.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/util/ini.h"
#include "core/workspace/programname.h"

namespace kv::workspace {

Workspace::Workspace(std::filesystem::path dataDir)
    : m_dataDir(std::move(dataDir)),
      m_ratings(m_dataDir / stakes::TRatings::FileName),
      m_regulars(m_dataDir / stakes::TRegulars::FileName),
      m_scenario(m_dataDir / scenario::TScenario::FileName),
      m_frm(FormFilePath())
{
}

std::filesystem::path Workspace::FormFilePath() const
{
    return m_dataDir / ProgramFileName(".frm");
}

std::filesystem::path Workspace::FilterListPath() const
{
    return m_dataDir / ProgramFileName(".flt");
}

void Workspace::LoadViewSettings()
{
    m_view = ReadViewSettings(m_frm);
}

void Workspace::SetViewSettings(const TViewSettings& settings)
{
    const TViewSettings before = m_view;
    m_view = settings;
    WriteViewSettings(m_frm, m_view, before);
}

void Workspace::SetViewFlag(bool TViewSettings::* flag, bool value)
{
    TViewSettings s = m_view;
    s.*flag = value;
    SetViewSettings(s);
}

void Workspace::InitPrefetchsFlag()
{
    if (m_frm.ReadBool("PrefetchsInit", false)) return;
    m_frm.WriteAll({{"PrefetchsInit", "1"}, {"PrefetchsEnabled", m_view.PrefetchsEnabled ? "1" : "0"}});
}

bool Workspace::SetDrawsOffset(int offset)
{
    const int maxOffset = std::max(0, DrawCount() - 1);
    offset = std::clamp(offset, 0, maxOffset);
    if (offset == m_drawsOffset) return false;
    m_drawsOffset = offset;
    drawListChanged(false);
    viewsRefresh();
    return true;
}

int Workspace::LastDrawIndex() const
{
    if (m_draws.empty()) return -1;
    return std::max(0, DrawCount() - 1 - m_drawsOffset);
}

int Workspace::NextDrawNo() const
{
    return archive::NextDrawNo(m_draws, m_drawsOffset);
}

uint32_t Workspace::HiddenNextDraw() const
{
    return archive::HiddenNextDrawSet(m_draws, m_drawsOffset);
}

std::string Workspace::HiddenNextDrawText() const
{
    return archive::HiddenNextDrawText(m_draws, m_drawsOffset);
}

void Workspace::LoadArchive(shell::Shell& shell)
{
    const auto path = FilePath(archive::ArchiveFileName);
    m_archiveRead.MarkRead();
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        shell::BusyScope busy(shell, "Загрузка файла тиражей...");
        try {
            archive::LoadedArchive loaded = archive::ReadArchiveFile(path);
            m_draws = std::move(loaded.draws);
            if (loaded.trailingBytes > 0 || loaded.refused > 0) {
                // What was not read would vanish with the next save: keep a copy of the file as
                // it was, and when that fails never rewrite it in this run.
                const util::TBackupCopy copy = util::KeepBackupCopy(path);
                m_archiveReadOnly = !copy.Saved;
                std::string text = util::Format("Файл тиражей \"%s\" поврежден.", {path.string()});
                if (loaded.refused > 0)
                    text += util::Format("\nНе прочитано записей: %d (первая: %s).",
                                         {loaded.refused, archive::DrawDefectText(loaded.firstDefect)});
                if (loaded.trailingBytes > 0)
                    text += util::Format("\nФайл заканчивается неполной записью (%d байт); она не прочитана.",
                                         {loaded.trailingBytes});
                shell.ShowMessage(shell::MessageKind::Warning, text + "\n\n" + copy.Note);
            }
        } catch (const std::exception& e) {
            m_archiveReadOnly = true;
            shell.ShowFailure("Ошибка чтения файла тиражей!", e.what());
        }
    }
    if (m_drawsOffset > std::max(0, DrawCount() - 1)) m_drawsOffset = std::max(0, DrawCount() - 1);
    drawListChanged(false);
}

bool Workspace::SaveArchive(shell::Shell& shell)
{
    bool ok = true;
    {
        shell::BusyScope busy(shell, "Сохранение файла тиражей...");
        try {
            m_archiveRead.CheckWrite(FilePath(archive::ArchiveFileName));
            if (m_archiveReadOnly) throw Error(util::ReadOnlyFileText(FilePath(archive::ArchiveFileName)));
            archive::WriteArchiveFile(FilePath(archive::ArchiveFileName), m_draws);
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка записи в файл тиражей!", e.what());
            ok = false;
        }
    }
    drawListChanged(true);
    return ok;
}

void Workspace::ClearArchive()
{
    m_draws.clear();
    m_drawsOffset = 0;
}

void Workspace::AddDraw(shell::Shell& shell, const game::TDraw& draw)
{
    m_draws.push_back(draw);
    SaveArchive(shell);
    viewsRefresh();
}

bool Workspace::AppendDraws(shell::Shell& shell, const game::TDrawsArray& draws)
{
    const auto path = FilePath(archive::ArchiveFileName);
    bool ok = true;
    {
        shell::BusyScope busy(shell, "Сохранение файла тиражей...");
        try {
            m_archiveRead.CheckWrite(path);
            if (m_archiveReadOnly) throw Error(util::ReadOnlyFileText(path));
            // A file that is not exactly what memory holds (records refused at load, a partial
            // record) is rewritten whole; otherwise only the page's records are written.
            if (!util::AppendAfter(path, m_draws.size() * game::TDraw::RecordSize, archive::ArchiveBytes(draws))) {
                game::TDrawsArray all(m_draws);
                all.insert(all.end(), draws.begin(), draws.end());
                archive::WriteArchiveFile(path, all);
            }
            m_draws.insert(m_draws.end(), draws.begin(), draws.end());
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка записи в файл тиражей!", e.what());
            ok = false;
        }
    }
    drawListChanged(true);
    if (ok) viewsRefresh();
    return ok;
}

bool Workspace::CreateDemoArchive(shell::Shell& shell)
{
    if (DrawCount() > 0 || !shell.Confirm(DemoArchiveQuestion)) return false;
    return AppendDraws(shell, archive::SyntheticDraws(DemoArchiveDraws, 8201));
}

void Workspace::ReplaceDraw(shell::Shell& shell, int index, const game::TDraw& draw)
{
    if (index < 0 || index >= DrawCount())
        throw Error(util::Format("Запись со индексом %d в файле данных не найдена!", {index}));
    m_draws[index] = draw;
    SaveArchive(shell);
    viewsRefresh();
}

void Workspace::DeleteDrawRows(shell::Shell& shell, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    {
        shell::BusyScope busy(shell, "Удаление выделенных тиражей....");
        // From the last row up: deleting never moves the draws of the rows still to visit.
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            if (*it < 0 || *it >= DrawCount()) continue;
            const int index = archive::FindDrawIndex(m_draws, DrawAtRow(*it).DrawNo);
            archive::DeleteDraw(m_draws, index);
        }
        if (m_drawsOffset > std::max(0, DrawCount() - 1)) m_drawsOffset = std::max(0, DrawCount() - 1);
        drawListChanged(false);
        SaveArchive(shell);
        viewsRefresh();
    }
}

int Workspace::ImportDraws(shell::Shell& shell, const std::filesystem::path& file)
{
    shell::BusyScope busy(shell, util::Format("Импорт тиражей из файла \"%s\"...", {file.string()}));
    std::string bytes;
    try {
        bytes = util::ReadWholeFile(file);
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        return -1;
    }
    const archive::TDrawsImport import = archive::ParseDrawsText(m_draws, util::Cp1251ToUtf8(bytes));
    const std::string report = archive::DrawsImportReport(import);
    if (import.Draws.empty()) {
        // Nothing to add: the archive file stays exactly as it is.
        shell.ShowMessage(shell::MessageKind::Warning,
                          util::Format("В файле \"%s\" нет тиражей для импорта.", {file.string()})
                              + (report.empty() ? "" : "\n\n" + report));
        return 0;
    }
    m_draws.insert(m_draws.end(), import.Draws.begin(), import.Draws.end());
    SaveArchive(shell);
    viewsRefresh();
    if (!report.empty())
        shell.ShowMessage(shell::MessageKind::Warning,
                          util::Format("Импортировано тиражей: %d.", {static_cast<int>(import.Draws.size())})
                              + "\n" + report);
    return static_cast<int>(import.Draws.size());
}

bool Workspace::ExportDraws(shell::Shell& shell, const std::filesystem::path& file)
{
    shell::BusyScope busy(shell, util::Format("Экспорт тиражей в файл \"%s\"...", {file.string()}));
    int skipped = 0;
    try {
        util::RewriteFile(file, util::Utf8ToCp1251(archive::ExportDrawsText(m_draws, &skipped)));
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        return false;
    }
    if (skipped > 0)
        shell.ShowMessage(shell::MessageKind::Warning,
                          util::Format("Не выгружено тиражей с некорректными данными: %d.", {skipped}));
    return true;
}

bool Workspace::OpenStakesFile()
{
    try {
        m_stakes.Open(FilePath(stakes::TStakesFile::FileName));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string Workspace::ExclusiveAccessText() const
{
    return util::Format("Невозможно получить монопольный доступ к файлам данных!\n\n"
                        "Возможные причины данной ошибки: \n\n"
                        "1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. "
                        "Корректная работа нескольких копий программы возможна только из разных каталогов.\n\n"
                        "2) Для программы нет прав на запись в папке данных %s. "
                        "Другую папку данных можно указать параметром --data-dir.\n\n"
                        "Программа будет закрыта!",
                        {m_dataDir.string()});
}

void Workspace::drawListChanged(bool force)
{
    if (onDrawListChanged) onDrawListChanged(force);
}

void Workspace::viewsRefresh()
{
    if (m_viewsRefreshSuspended) return;
    if (onViewsRefresh) onViewsRefresh();
    m_shared.AnnounceAnalysis();
}

void Workspace::LoadRatingsAndTables(shell::Shell& shell)
{
    m_ratings.LoadRatings(shell);
    m_regulars.LoadTables(shell);
}

stakes::TCheckSettings Workspace::CheckSettings(const stakes::TPrizeTable& prizes, bool logEnabled)
{
    stakes::TCheckSettings settings;
    settings.Draws = &m_draws;
    settings.Prizes = prizes;
    settings.LogEnabled = logEnabled;
    settings.LogDir = m_dataDir;
    settings.OnChecked = [this](const stakes::TStakeRecord& stake) { m_ratings.AddRating(stake); };
    return settings;
}

bool Workspace::CheckStakesAndReload(shell::Shell& shell, const stakes::TPrizeTable& prizes, bool logEnabled)
{
    return stakes::CheckStakesAndReload(m_stakes, CheckSettings(prizes, logEnabled), shell,
                                        [this, &shell] { RatingsAfterCheck(shell); });
}

stakes::TStakeViewHooks Workspace::StakeViewHooks(shell::Shell& shell, const stakes::TPrizeTable& prizes)
{
    stakes::TStakeViewHooks hooks;
    hooks.RefreshView = [this](bool refresh, bool goToLast) {
        m_shared.AnnounceStakes({.Rows = refresh, .GoToLast = goToLast});
    };
    hooks.Check = [this, &shell, prizes] { CheckStakesAndReload(shell, prizes, m_view.StakesLogEnabled); };
    hooks.Repaint = [this] { m_shared.AnnounceStakes({.Repaint = true}); };
    hooks.RefreshRatings = [this] { m_shared.AnnounceRatings(); };
    return hooks;
}

void Workspace::RatingsAfterCheck(shell::Shell& shell)
{
    m_ratings.SortRatings(shell, m_ratings.SortColumn(), m_ratings.SortDescending());
}

bool Workspace::RatingsRefresh(shell::Shell& shell)
{
    return m_ratings.RatingsRefresh(shell, m_stakes);
}

stakes::TRegularStakeContext Workspace::RegularStakeContext(const stakes::TPrizeTable& prizes, bool scrollEnabled,
                                                            const stakes::TStakeViewHooks& hooks)
{
    stakes::TRegularStakeContext c;
    c.Draws = &m_draws;
    c.DrawsOffset = m_drawsOffset;
    c.SetDrawsOffset = [this](int offset) { SetDrawsOffset(offset); };
    c.SampleSize = static_cast<int32_t>(m_combs.Count());
    c.Prizes = prizes;
    c.Stakes = &m_stakes;
    c.ScrollEnabled = scrollEnabled;
    c.Hooks = hooks;
    return c;
}

bool Workspace::TablesStakeAdd(shell::Shell& shell, const stakes::TPrizeTable& prizes, int row, bool scrollEnabled,
                               const stakes::TStakeViewHooks& hooks, const stakes::TStakeDialog& dialog)
{
    return m_regulars.TablesStakeAdd(shell, row, RegularStakeContext(prizes, scrollEnabled, hooks), dialog);
}

bool Workspace::TablesStakeTest(shell::Shell& shell, const stakes::TPrizeTable& prizes, std::span<const int> rows, int n,
                                bool scrollEnabled, const stakes::TStakeViewHooks& hooks)
{
    const bool wasSuspended = m_viewsRefreshSuspended;
    m_viewsRefreshSuspended = true;
    bool ok = false;
    try {
        ok = m_regulars.TablesStakeTest(shell, rows, n, RegularStakeContext(prizes, scrollEnabled, hooks));
    } catch (...) {
        m_viewsRefreshSuspended = wasSuspended;
        throw;
    }
    m_viewsRefreshSuspended = wasSuspended;
    return ok;
}

void ApplyRatingsSortOrder(const FormSettings& frm, stakes::TRatings& ratings)
{
    const std::string sortType = frm.ReadString(util::Format("%s.SortType", {RatingsListName}), "");
    const auto comma = sortType.find(',');
    int64_t column = 0, direction = 0;
    if (comma != std::string::npos && util::TryParseInt(sortType.substr(0, comma), column)
        && util::TryParseInt(sortType.substr(comma + 1), direction) && column >= 0 && column < stakes::RatingColumnCount)
        ratings.SetSortOrder(static_cast<int>(column), direction != 0);
}

} // namespace kv::workspace
