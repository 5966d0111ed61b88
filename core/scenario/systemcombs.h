#pragma once
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::scenario {

// The folder of downloaded play systems, beside the program's data files.
constexpr const char* SystemsFolderName = "Systems";

// "8-12-5_0123.dat": combination length 8, the number of positions, the block length, the id.
std::string SystemFileName(int nums, int olap, int id);

// One line of a system's combination list: 8 words separated by runs of any of
// blank * + , - . / : ; = \ _ | ~ (and tabs), each a position number. Nothing for another
// word count or a word that is not a number.
std::optional<std::array<int, 8>> ParseSystemLine(std::string_view line);

// A system loaded for play over k numbers.
struct TSystemCombs {
    bool Loaded = false;
    std::vector<game::TComb> Combs;   // position p replaced by the p-th number, in line order
    std::filesystem::path File;       // the system's file
    std::string Error;                // why nothing was loaded
};

// Finds the first file "8-<k>-*_*.dat" (k as two digits; files in name order) in `folder` and
// writes each line's positions with the given numbers (the covered numbers of the list, in
// order of first appearance). A missing system shows "Система для %d чисел не найдена или не
// загружена на компьютер!" with the hint to download systems; a file that cannot be read, a
// position outside 1..k, a repeated position or a file without combinations shows "Ошибка
// загрузки комбинаций системы!" with the reason. Nothing is staked from a system that did not
// load whole.
TSystemCombs LoadSystemCombs(const std::filesystem::path& folder, const game::TByteArray& numbers,
                             shell::Shell& shell);

} // namespace kv::scenario
