#pragma once
#include <filesystem>
#include <functional>
#include <string>

#include "core/util/sheet.h"

namespace kv::util {

// How one list is exported; kept per list in a small "*.exp" settings file.
struct TExportOptions {
    std::string Title;       // the first row; empty: the list's own title
    std::string Note;        // a row under the title; empty: none
    std::string SheetName;   // empty: the title
    bool Landscape = false;  // page orientation when printed
    int FontSize = 10;       // points, 6..72
    bool OpenAfter = false;  // hand the file to the desktop's spreadsheet program afterwards
    std::string Folder;      // where the save dialog opened last; empty: the data folder

    bool operator==(const TExportOptions&) const = default;
};
constexpr int MinExportFontSize = 6;
constexpr int MaxExportFontSize = 72;

// A missing, unreadable or damaged file gives the defaults (key by key), so the next save
// writes a sound file over it.
TExportOptions LoadExportOptions(const std::filesystem::path& path);
// Fails with kv::Error.
void SaveExportOptions(const std::filesystem::path& path, const TExportOptions& options);

// Writes the sheet as an .xlsx workbook of one sheet: the title in the first row (the note under
// it), the column captions bold with the rows below them frozen and an autofilter over the
// table, numeric cells as numbers, fills kept, columns as wide as their texts. Rows stream to
// disk as they are made (bounded memory). The workbook is written under a temporary name and
// renamed over `path` only when complete: a failure (kv::Error naming `path`) leaves no
// half-written file, and an older file of that name as it was. `progress`, when given, hears
// every few thousand rows how many are written of how many (and once more before the file is
// packed); answering false stops the export the same way, with kv::Cancelled.
// A sheet of FastPackRows rows or more is compressed at the fastest level.
using TExportProgress = std::function<bool(int written, int total)>;
constexpr int FastPackRows = 10000;
void WriteXlsx(const std::filesystem::path& path, const TExportSheet& sheet, const TExportOptions& options,
               const TExportProgress& progress = {});

} // namespace kv::util
