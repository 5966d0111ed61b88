#include "core/workspace/batch.h"

#include "core/shell/shell.h"
#include "core/workspace/workspace.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"

namespace kv::workspace {

bool IsBatchRun(const CommandLine& cmd)
{
    return cmd.loadOnly || cmd.fullRecreate || cmd.fullRefresh;
}

void LoadEngine(stats::TStatList& list, Workspace& ws, shell::Shell& shell)
{
    const auto ini = ws.FilePath(Workspace::SettingsFileName);
    {
        shell::BusyScope busy(shell, "Загрузка файла конфигурации...");
        try {
            list.LoadGenerateSettings(ini);
            list.LoadSettings(ini);
            list.LoadShredding(ini);
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка чтения файла конфигурации!", e.what());
        }
    }
    list.SetDraws(&ws.Draws());
    list.BuildMethodList();
    list.LoadFilterList(ws.FilePath(Workspace::FilterListFileName), true, shell);
}

int RunBatch(Workspace& ws, shell::Shell& shell, const CommandLine& cmd)
{
    stats::TStatList list;
    LoadEngine(list, ws, shell);
    if (!ws.OpenStakesFile()) {
        shell.ShowError(Workspace::ExclusiveAccessText());
        return 1;
    }
    ws.LoadArchive(shell);
    // Draw download ("loadonly") joins here when the program can fetch draws.
    int code = 0;
    if (cmd.fullRecreate || cmd.fullRefresh) {
        const stats::TPrefetchCache cache(ws.DataDir());
        const stats::TPrefetchPass pass{.Force = true,
                                        .Rebuild = cmd.fullRecreate ? stats::TPrefetchCache::AllGroups : 0u};
        try {
            cache.CreatePrefetchFiles(list, pass, shell);
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка инициализации программы!", e.what());
            code = 1;
        }
    }
    ws.CloseStakesFile();
    return code;
}

} // namespace kv::workspace
