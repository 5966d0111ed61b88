#include "core/workspace/engine.h"

#include <exception>

#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"

namespace kv::workspace {

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
    list.LoadFilterList(ws.FilterListPath(), true, shell);
}

} // namespace kv::workspace
