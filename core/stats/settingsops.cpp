#include "core/stats/settingsops.h"

#include "core/shell/shell.h"
#include "core/stats/statlist.h"

namespace kv::stats {

bool ApplyShredding(TStatList& list, const TShreddingData& data, const std::filesystem::path& ini,
                    shell::Shell& shell)
{
    list.Shredding() = data;
    shell::BusyScope busy(shell, "Сохранение файла конфигурации...");
    try {
        list.SaveShredding(ini);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка записи в файл конфигурации!", e.what());
        return false;
    }
}

} // namespace kv::stats
