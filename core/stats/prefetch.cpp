#include "core/stats/prefetch.h"

#include <algorithm>

#include "core/game/counting.h"
#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/util/binio.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stats {

namespace {

constexpr std::size_t RecordSize = 12;

} // namespace

std::string PrefetchBytes(const TStatDrawArray& values)
{
    const TStatSummary sum = SummarizeStatDraw(values);
    std::string bytes((values.Count() + 1) * RecordSize, '\0');
    auto* p = reinterpret_cast<uint8_t*>(bytes.data());
    for (const TStatDrawItem& item : values) {
        for (int k = 0; k < 4; ++k) util::PutU16(p + 2 * k, static_cast<uint16_t>(item.Key[k]));
        util::PutI32(p + 8, item.Count);
        p += RecordSize;
    }
    util::PutI32(p, sum.MinCount);
    util::PutI32(p + 4, sum.MaxCount);
    util::PutI32(p + 8, 0);
    return bytes;
}

std::optional<TPrefetchData> ParsePrefetch(std::string_view bytes, TKeyOrder order)
{
    if (bytes.size() < RecordSize || bytes.size() % RecordSize != 0) return std::nullopt;
    const std::size_t count = bytes.size() / RecordSize - 1;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    TPrefetchData data;
    data.Records.resize(count);
    int32_t minCount = 2147483647, maxCount = 0;
    for (std::size_t i = 0; i < count; ++i, p += RecordSize) {
        TPrefetchRecord& r = data.Records[i];
        for (int k = 0; k < 4; ++k) r.Key[k] = static_cast<int16_t>(util::GetU16(p + 2 * k));
        r.Count = util::GetI32(p + 8);
        if (r.Count < 0) return std::nullopt;
        if (i > 0 && StatKeyRank(data.Records[i - 1].Key, order) >= StatKeyRank(r.Key, order)) return std::nullopt;
        minCount = std::min(minCount, r.Count);
        maxCount = std::max(maxCount, r.Count);
    }
    data.MinCount = util::GetI32(p);
    data.MaxCount = util::GetI32(p + 4);
    if (util::GetI32(p + 8) != 0 || data.MinCount != minCount || data.MaxCount != maxCount) return std::nullopt;
    return data;
}

std::filesystem::path TPrefetchCache::PrefetchPath(std::string_view methodCode) const
{
    return m_dataDir / FolderName / util::Format("%s_%s.dfc", {m_program, methodCode});
}

TStatDrawArray TPrefetchCache::ComputeDistribution(const TStatList& list, int method)
{
    // The user's combination list stays as it is: the full set is enumerated on the side.
    static const game::TCombsArray all = [] {
        game::TCombsArray combs;
        game::EnumerateAllCombs(combs);
        return combs;
    }();
    const std::unique_ptr<TCustomStat> stat = list.CreateStat(method);
    TStatDrawArray values;
    stat->CalcCombs(all, values);
    SortStatDraw(values, stat->KeyOrder());
    return values;
}

std::optional<TPrefetchData> TPrefetchCache::Create(const TStatList& list, int method, shell::Shell& shell) const
{
    const auto path = PrefetchPath(list.Method(method).MethodCode());
    shell::BusyScope busy(shell, util::Format("Создание файла предварительной выборки %s...", {path.filename().string()}));
    try {
        const std::string bytes = PrefetchBytes(ComputeDistribution(list, method));
        // The library's own error text is English and names no reason the user can act on.
        std::error_code dirError;
        std::filesystem::create_directories(path.parent_path(), dirError);
        if (dirError)
            throw Error(util::Format("Не удалось создать папку \"%s\": %s",
                                     {path.parent_path().string(), util::ErrnoText(dirError.value())}));
        util::RewriteFile(path, bytes);
        auto data = ParsePrefetch(bytes, list.CreateStat(method)->KeyOrder());
        if (!data) {
            // The file just written holds what cannot be read back: it must not stay.
            std::error_code ec;
            std::filesystem::remove(path, ec);
            throw Error("Некорректный формат данных");
        }
        return data;
    } catch (const std::exception& e) {
        // A failed rewrite leaves a previous file as it was (RewriteFile): it stays. Anything
        // else in the file's place (an empty folder) would fail every later attempt too.
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
        shell.ShowFailure(util::Format("Ошибка создания файла данных для полного набора вариантов!\n\nИмя файла: %s",
                                       {path.string()}),
                          e.what());
        return std::nullopt;
    }
}

std::optional<TPrefetchData> TPrefetchCache::Open(const TStatList& list, int method, bool enabled,
                                                  shell::Shell& shell) const
{
    if (!enabled || !list.HasPrefetch(method)) return std::nullopt;
    const auto path = PrefetchPath(list.Method(method).MethodCode());
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) || std::filesystem::file_size(path, ec) == 0)
        return Create(list, method, shell);
    std::string bytes;
    try {
        bytes = util::ReadWholeFile(path);
    } catch (const std::exception& e) {
        shell.ShowFailure(util::Format("Ошибка открытия файла данных для полного набора вариантов!\n\nИмя файла: %s",
                                       {path.string()}),
                          e.what());
        return std::nullopt;
    }
    if (auto data = ParsePrefetch(bytes, list.CreateStat(method)->KeyOrder())) return data;
    // A truncated or foreign file is never trusted: it is only a cache, so it is made anew.
    return Create(list, method, shell);
}

int TPrefetchCache::CreatePrefetchFiles(const TStatList& list, const TPrefetchPass& pass, shell::Shell& shell) const
{
    if (!pass.Force && !pass.Enabled) return 0;
    int written = 0;
    shell::BusyScope busy(shell);
    shell.ProgressOpen(list.MethodCount(), false, "Создание файлов для полного набора комбинаций...");
    try {
        for (int i = 0; i < list.MethodCount(); ++i) {
            shell.ProgressStep();
            if (!list.HasPrefetch(i)) continue;
            const auto path = PrefetchPath(list.Method(i).MethodCode());
            std::error_code ec;
            const bool exists = std::filesystem::exists(path, ec) && std::filesystem::file_size(path, ec) > 0;
            if (exists && !(pass.Rebuild & GroupBit(list.Method(i).Kind->GetGroup()))) continue;
            if (Create(list, i, shell)) ++written;
        }
    } catch (...) {
        shell.ProgressClose();
        throw;
    }
    shell.SetStatusText("");
    shell.ProgressClose();
    return written;
}

} // namespace kv::stats
