#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/online/catalog.h"

namespace kv::online {

// A system's combination list as the editor keeps it: every line of 8 words rewritten as
// "%.2d" positions joined by one blank, every other line dropped; Nums is max - min + 1 of the
// positions used (0 for an empty list).
struct TNormalisedSystem {
    std::string Text;  // lines joined by CR LF
    int Nums = 0;
    int Count = 0;
};
TNormalisedSystem NormaliseSystemList(std::string_view text);

// The editor's checks in their order; the field to focus and the message of the first that
// fails, or nothing.
enum class TSystemField { Title, Nums, Olap, Author, Descr, Combs };
struct TSystemProblem {
    TSystemField Field;
    std::string Message;
};
std::optional<TSystemProblem> ValidateSystem(const tSystemData& data);

// The system's file in `folder` ("8-12-5_0123.dat").
std::filesystem::path LocalSystemFile(const std::filesystem::path& folder, const tSystemInfo& info);
// The file exists and is dated Created (else the catalogue holds a newer list).
bool LocalSystemCurrent(const std::filesystem::path& folder, const tSystemInfo& info);

// Keeps a downloaded list: exactly CSize lines or "Количество скачанных комбинаций ( %d )
// отличается от ожидаемого значения ( %d )" and nothing is written; the folder is made when
// missing; the file (CP1251, CR LF) is written whole, dated Created, and the other files for
// the same number of positions are deleted. Fails with kv::Error.
std::filesystem::path SaveDownloadedSystem(const std::filesystem::path& folder, const tSystemInfo& info,
                                           std::string_view combs);

} // namespace kv::online
