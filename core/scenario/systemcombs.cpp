#include "core/scenario/systemcombs.h"

#include <algorithm>

#include "core/game/texts.h"
#include "core/scenario/scenario.h"
#include "core/shell/shell.h"
#include "core/util/catalogwire.h"
#include "core/util/error.h"
#include "core/util/format.h"

namespace kv::scenario {

namespace {

bool matchesSystem(const std::string& name, const std::string& prefix)
{
    // "8-13-*_*.dat": the block and the id in between, separated by "_".
    constexpr std::string_view suffix = ".dat";
    if (name.size() < prefix.size() + suffix.size() + 1) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    const std::string_view middle = std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return middle.find('_') != std::string_view::npos;
}

} // namespace

std::string SystemFileName(int nums, int olap, int id)
{
    return util::Format("%d-%.2d-%d_%.4d.dat", {8, nums, olap, id});
}

std::optional<std::array<int, 8>> ParseSystemLine(std::string_view line)
{
    const std::vector<std::string_view> words = util::SplitSystemWords(line);
    if (words.size() != 8) return std::nullopt;
    std::array<int, 8> positions{};
    for (std::size_t k = 0; k < 8; ++k) {
        int32_t v = 0;
        if (!game::TryTextToInt(words[k], v)) return std::nullopt;
        positions[k] = v;
    }
    return positions;
}

TSystemCombs LoadSystemCombs(const std::filesystem::path& folder, const game::TByteArray& numbers,
                             shell::Shell& shell)
{
    TSystemCombs result;
    const int k = static_cast<int>(numbers.size());
    const std::string prefix = util::Format("%d-%.2d-", {8, k});
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code typeEc;
        if (e.is_regular_file(typeEc) && matchesSystem(e.path().filename().string(), prefix)) found.push_back(e.path());
    }
    if (found.empty()) {
        result.Error = util::Format("Система для %d чисел не найдена или не загружена на компьютер!", {k});
        shell.ShowError(result.Error
                        + "\n\nПеред системной игрой необходимо предварительно загрузить системы на Ваш компьютер "
                          "через меню \"Системы\" - \"Загрузить\".");
        return result;
    }
    std::sort(found.begin(), found.end());
    result.File = found.front();
    try {
        for (const std::string& line : ReadScenarioFile(result.File)) {
            if (game::TrimText(line).empty()) continue;
            const std::optional<std::array<int, 8>> positions = ParseSystemLine(line);
            uint32_t used = 0;
            bool valid = positions.has_value();
            game::TComb comb{};
            for (std::size_t i = 0; valid && i < 8; ++i) {
                const int p = (*positions)[i];
                valid = p >= 1 && p <= k && (used & (1u << p)) == 0;
                if (!valid) break;
                used |= 1u << p;
                comb[i] = numbers[static_cast<std::size_t>(p - 1)];
            }
            if (!valid) throw Error(util::Format("Некорректная строка системы: \"%s\"!", {line}));
            result.Combs.push_back(comb);
        }
        if (result.Combs.empty())
            throw Error(util::Format("Файл \"%s\" не содержит комбинаций!", {result.File.filename().string()}));
        result.Loaded = true;
    } catch (const std::exception& e) {
        result.Combs.clear();
        result.Error = e.what();
        shell.ShowFailure("Ошибка загрузки комбинаций системы!", result.Error);
    }
    return result;
}

} // namespace kv::scenario
