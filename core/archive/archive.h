#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/game/types.h"

namespace kv::archive {

using game::TComb;
using game::TDraw;
using game::TDrawsArray;

constexpr const char* ArchiveFileName = "Kvanta_8x20.ldr";

// What makes a draw record unusable as data; None for a sound one. A draw number outside
// 1..MaxDrawNo, numbers outside 1..20 or repeated, an extra number outside 1..4.
enum class DrawDefect { None, DrawNo, NumberRange, NumberRepeat, Extra };
DrawDefect CheckDraw(const TDraw& draw);
// The reason in the user's words ("числа вне диапазона 1..20", ...); empty for None.
const char* DrawDefectText(DrawDefect defect);

// The archive file: 32-byte draw records back to back, no header. A trailing partial record is
// ignored, damaged records (CheckDraw) are left out and counted; a missing file is an empty
// archive. Fails with kv::Error on a read error.
struct LoadedArchive {
    TDrawsArray draws;
    int64_t trailingBytes = 0;   // bytes of an incomplete last record that were not read
    int refused = 0;             // damaged records left out
    DrawDefect firstDefect = DrawDefect::None;   // the defect of the first one
};
LoadedArchive ReadArchiveFile(const std::filesystem::path& path);
// The same from the file's bytes.
LoadedArchive ParseArchive(std::string_view bytes);
TDrawsArray ParseArchiveBytes(std::string_view bytes);
std::string ArchiveBytes(const TDrawsArray& draws);
// Rewrites the whole file safely (a failure leaves the old file as it was). Fails with kv::Error.
void WriteArchiveFile(const std::filesystem::path& path, const TDrawsArray& draws);

// 1 for an empty archive; -1 when d is outside 0..count-1; else the DrawNo of the draw d places
// before the newest, plus 1.
int NextDrawNo(const TDrawsArray& draws, int d);
// The numbers of the draw d places before the newest; all zeros outside the archive.
TComb DrawNumsBack(const TDrawsArray& draws, int d);
// Array index of the draw with that number, or -1. An interpolation guess, then a walk from
// the guess, then a full scan from the end, so draws imported out of order are still found.
int FindDrawIndex(const TDrawsArray& draws, int drawNo);
// Removes one element. Fails with "Запись со индексом %d в файле данных не найдена!".
void DeleteDraw(TDrawsArray& draws, int index);
// Bit n (1..20) set for each number of the hidden next draw: the draw at list row offset - 1
// when 0 < offset < count; no bits otherwise.
uint32_t HiddenNextDrawSet(const TDrawsArray& draws, int offset);
// The numbers of that draw, ascending, joined by ";" (status field 2); empty when none.
std::string HiddenNextDrawText(const TDrawsArray& draws, int offset);

} // namespace kv::archive
