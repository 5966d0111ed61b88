#include "core/archive/archive.h"

#include <algorithm>

#include "core/game/game.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::archive {

TDrawsArray ParseArchiveBytes(std::string_view bytes)
{
    const std::size_t count = bytes.size() / TDraw::RecordSize;
    TDrawsArray draws(count);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < count; ++i)
        draws[i].Read(p + i * TDraw::RecordSize);
    return draws;
}

std::string ArchiveBytes(const TDrawsArray& draws)
{
    std::string bytes(draws.size() * TDraw::RecordSize, '\0');
    auto* p = reinterpret_cast<uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < draws.size(); ++i)
        draws[i].Write(p + i * TDraw::RecordSize);
    return bytes;
}

DrawDefect CheckDraw(const TDraw& draw)
{
    if (draw.DrawNo < 1 || draw.DrawNo > game::MaxDrawNo) return DrawDefect::DrawNo;
    uint32_t seen = 0;
    for (uint8_t n : draw.Nums) {
        if (n < 1 || n > game::MaxNumber) return DrawDefect::NumberRange;
        if (seen & (1u << n)) return DrawDefect::NumberRepeat;
        seen |= 1u << n;
    }
    if (draw.Extra < 1 || draw.Extra > game::MaxExtra) return DrawDefect::Extra;
    return DrawDefect::None;
}

const char* DrawDefectText(DrawDefect defect)
{
    switch (defect) {
    case DrawDefect::None: return "";
    case DrawDefect::DrawNo: return "номер тиража вне диапазона 1..999999999";
    case DrawDefect::NumberRange: return "числа вне диапазона 1..20";
    case DrawDefect::NumberRepeat: return "повторяющиеся числа";
    case DrawDefect::Extra: return "дополнительное число вне диапазона 1..4";
    }
    return "";
}

namespace {

// Takes the whole records of a chunk, leaving the damaged ones out.
void takeRecords(std::string_view chunk, LoadedArchive& result)
{
    const auto* p = reinterpret_cast<const uint8_t*>(chunk.data());
    const std::size_t count = chunk.size() / TDraw::RecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        TDraw& d = result.draws.emplace_back();
        d.Read(p + i * TDraw::RecordSize);
        const DrawDefect defect = CheckDraw(d);
        if (defect == DrawDefect::None) continue;
        result.draws.pop_back();
        if (result.refused++ == 0) result.firstDefect = defect;
    }
    result.trailingBytes = static_cast<int64_t>(chunk.size() % TDraw::RecordSize);
}

} // namespace

LoadedArchive ParseArchive(std::string_view bytes)
{
    LoadedArchive result;
    result.draws.reserve(bytes.size() / TDraw::RecordSize);
    takeRecords(bytes, result);
    return result;
}

LoadedArchive ReadArchiveFile(const std::filesystem::path& path)
{
    LoadedArchive result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return result;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) result.draws.reserve(static_cast<std::size_t>(size / TDraw::RecordSize));
    // Whole records in chunks: the archive never sits in memory twice.
    util::ReadFileInChunks(path, 2048 * TDraw::RecordSize,
                           [&](std::string_view chunk) { takeRecords(chunk, result); });
    return result;
}

void WriteArchiveFile(const std::filesystem::path& path, const TDrawsArray& draws)
{
    util::RewriteFile(path, ArchiveBytes(draws));
}

int NextDrawNo(const TDrawsArray& draws, int d)
{
    const int count = static_cast<int>(draws.size());
    if (count == 0) return 1;
    if (d < 0 || d > count - 1) return -1;
    // Loaded and imported draws never pass MaxDrawNo; the guard keeps a draw put in by other
    // means from wrapping round.
    const int32_t no = draws[count - 1 - d].DrawNo;
    return no < INT32_MAX ? no + 1 : -1;
}

TComb DrawNumsBack(const TDrawsArray& draws, int d)
{
    const int count = static_cast<int>(draws.size());
    if (d < 0 || d > count - 1) return TComb{};
    return draws[count - 1 - d].Nums;
}

int FindDrawIndex(const TDrawsArray& draws, int drawNo)
{
    const int count = static_cast<int>(draws.size());
    if (count == 0) return -1;
    if (draws.front().DrawNo == drawNo) return 0;
    if (draws.back().DrawNo == drawNo) return count - 1;

    const double first = draws.front().DrawNo;
    const double last = draws.back().DrawNo;
    const double span = last - first + 1;
    int g = count - 1;
    if (span != 0) {
        const double guess = count * ((drawNo - first) / span);
        // A guess outside the array (or not a number) falls back to the last element.
        if (guess >= 0 && guess <= count - 1) g = static_cast<int>(guess);
    }
    if (draws[g].DrawNo == drawNo) return g;
    const int step = draws[g].DrawNo < drawNo ? 1 : -1;
    for (int i = g + step; i >= 0 && i < count; i += step)
        if (draws[i].DrawNo == drawNo) return i;
    for (int i = count - 1; i >= 0; --i)
        if (draws[i].DrawNo == drawNo) return i;
    return -1;
}

void DeleteDraw(TDrawsArray& draws, int index)
{
    if (index < 0 || index >= static_cast<int>(draws.size()))
        throw Error(util::Format("Запись со индексом %d в файле данных не найдена!", {index}));
    draws.erase(draws.begin() + index);
}

uint32_t HiddenNextDrawSet(const TDrawsArray& draws, int offset)
{
    const int count = static_cast<int>(draws.size());
    if (offset <= 0 || offset >= count) return 0;
    uint32_t set = 0;
    for (uint8_t n : draws[count - offset].Nums)
        if (n >= 1 && n <= 20) set |= 1u << n;
    return set;
}

std::string HiddenNextDrawText(const TDrawsArray& draws, int offset)
{
    const int count = static_cast<int>(draws.size());
    if (offset <= 0 || offset >= count) return {};
    TComb nums = draws[count - offset].Nums;
    std::sort(nums.begin(), nums.end());
    return game::CombToText(nums);
}

} // namespace kv::archive
