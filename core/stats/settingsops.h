#pragma once
#include <filesystem>

#include "core/stats/config.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {

class TStatList;

// Takes new shredding formulas and writes them to the settings file (status "Сохранение файла
// конфигурации...", a failure shown as "Ошибка записи в файл конфигурации!"). The registry keeps
// the new formulas either way; false when writing failed.
bool ApplyShredding(TStatList& list, const TShreddingData& data, const std::filesystem::path& ini,
                    shell::Shell& shell);

} // namespace kv::stats
