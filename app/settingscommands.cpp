#include "app/settingscommands.h"

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formconfig.h"
#include "app/formfavorites.h"
#include "app/formmethodinfo.h"
#include "app/formshredding.h"
#include "app/qtshell.h"
#include "core/filters/favorites.h"
#include "core/stats/configops.h"
#include "core/stats/prefetch.h"
#include "core/stats/settingsops.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"

using namespace kv;

SettingsCommands::SettingsCommands(const UnitContext& ctx, const stats::TPrefetchCache& cache)
    : CommandUnit(ctx), m_cache(cache)
{
}

void SettingsCommands::fillChoosers(bool reload)
{
    if (reload) {
        const auto flt = m_ws.FilterListPath();
        m_stats.SaveFilterList(flt, true, false, m_shell);
        m_stats.BuildMethodList();
        m_stats.SetAllFavorites();
        m_stats.LoadFilterList(flt, true, m_shell);
    }
    m_ws.Shared().AnnounceChoosers({.Reloaded = reload, .KeepSelection = true});
}

void SettingsCommands::createCommands()
{
    m_commands.add(cmd::EditConfig, QStringLiteral("Параметры"), QStringLiteral("Редактирование параметров системы"),
                   [this] { editConfig(); });
    m_commands.add(cmd::EditShredding, QStringLiteral("Формулы шинковки"), QString(), [this] { editShredding(); });
    m_commands.add(cmd::FiltersManager, QStringLiteral("Избранные статистики"), QString(), [this] { filtersManager(); });
    m_commands.add(cmd::FiltersReset, QStringLiteral("Все доступные статистики"), QString(), [this] { filtersReset(); });
    m_commands.add(cmd::FiltersInfo, QStringLiteral("Описание статистики"), QString(), [this] { filtersInfo(); },
                   [this] { return m_ws.Shared().StatMethod() >= 0; });
}

void SettingsCommands::editConfig(bool prizeTable)
{
    TFormConfig dialog(m_stats.Config(), m_window);
    if (prizeTable) dialog.showPrizeTable();
    if (dialog.exec() != QDialog::Accepted) return;
    const stats::TConfigApplyResult applied =
        stats::ApplyConfig(m_stats, dialog.data(), m_ws.FilePath(workspace::Workspace::SettingsFileName), m_shell);
    fillChoosers(true);
    m_cache.CreatePrefetchFiles(m_stats, {.Rebuild = applied.Groups, .Enabled = m_ws.View().PrefetchsEnabled}, m_shell);
    m_ws.Shared().AnnounceParameters();
}

void SettingsCommands::editShredding()
{
    TFormShredding dialog(m_stats.Shredding(), m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    stats::ApplyShredding(m_stats, dialog.data(), m_ws.FilePath(workspace::Workspace::SettingsFileName), m_shell);
    m_cache.CreatePrefetchFiles(
        m_stats, {.Rebuild = stats::GroupBit(stats::GroupShredding), .Enabled = m_ws.View().PrefetchsEnabled}, m_shell);
    fillChoosers(true);
    m_ws.Shared().AnnounceRegistry();
}

void SettingsCommands::filtersManager()
{
    const auto own = m_ws.FilterListPath();
    const std::vector<std::string> captions = filters::CustomCaptions(m_stats);
    TFormFavorites dialog(m_stats, m_ws.DataDir(), m_shell, m_window);
    if (dialog.exec() != QDialog::Accepted) {
        // An import in the cancelled window has already renamed the methods.
        if (filters::KeepImportedNames(m_stats, captions, own, m_shell)) {
            fillChoosers(false);
            m_ws.Shared().AnnounceRegistry();
        }
        return;
    }
    {
        shell::BusyScope busy(m_shell, filters::FavoritesWaitText);
        filters::ConfirmFavorites(dialog.tree(), m_stats, own, m_shell);
        fillChoosers(true);
    }
    m_ws.Shared().AnnounceRegistry();
}

void SettingsCommands::filtersReset()
{
    if (!filters::ResetFavorites(m_stats, m_ws.FilterListPath(), m_shell)) return;
    fillChoosers(true);
    m_ws.Shared().AnnounceRegistry();
}

void SettingsCommands::filtersInfo()
{
    const int method = m_ws.Shared().StatMethod();
    if (method < 0) return;
    TFormMethodInfo dialog(qs(m_stats.GetHelpURL(method)), m_window);
    dialog.exec();
}
