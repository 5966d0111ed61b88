#include "core/stakes/stakecheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

#include "core/archive/archive.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stakes/stakesfile.h"
#include "core/util/binio.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/util/translate.h"

namespace kv::stakes {

namespace {

constexpr const char* CheckStatus = "Проверка результатов ставок...";
constexpr int CheckChunkRecords = 4096;

std::tm localNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm {};
    localtime_r(&t, &tm);
    return tm;
}

// Only the fields the check fills are put back, so the rest of the record (the comment bytes
// in particular) stays exactly as it was stored.
void patchChecked(uint8_t* p, const TStakeRecord& r)
{
    util::PutU8(p + TStakeRecord::OffChecked, r.Checked);
    std::copy(r.DrawNums.begin(), r.DrawNums.end(), p + TStakeRecord::OffDrawNums);
    r.Matched.Write(p + TStakeRecord::OffMatched);
    util::PutI64(p + TStakeRecord::OffProfit, r.Profit.raw);
}

} // namespace

void ApplyDraw(TStakeRecord& stake, const game::TDraw& draw, const TPrizeTable& prizes)
{
    stake.Checked = 1;
    stake.DrawNums = draw.Nums;
    stake.Matched = game::IntersectNumSet(draw, stake.Stake);
    stake.Profit = prizes.StakeResult(stake.Stake.Count, stake.Matched.Count);
}

std::pair<int32_t, int32_t> DrawNoRange(const game::TDrawsArray& draws)
{
    int32_t minNo = std::numeric_limits<int32_t>::max();
    int32_t maxNo = std::numeric_limits<int32_t>::min();
    for (const game::TDraw& d : draws) {
        minNo = std::min(minNo, d.DrawNo);
        maxNo = std::max(maxNo, d.DrawNo);
    }
    return {minNo, maxNo};
}

bool CheckStakes(TStakesFile& file, const TCheckSettings& settings, shell::Shell& shell)
{
    shell::BusyScope busy(shell, CheckStatus);
    if (!file.HasRecords()) return false;
    bool result = false;
    try {
        static const game::TDrawsArray noDraws;
        const game::TDrawsArray& draws = settings.Draws ? *settings.Draws : noDraws;
        // Most stakes of a large file wait for draws that have not happened yet; the archive's
        // range of draw numbers rules them out without a search.
        const auto [minNo, maxNo] = settings.DrawNoRange ? *settings.DrawNoRange : DrawNoRange(draws);

        const int total = file.RecordCount();
        int step = std::max(1, total / 100);
        int first = -1;
        int remaining = 0;
        int progress = 0;
        int shown = 0;
        constexpr std::size_t size = TStakeRecord::RecordSize;
        // Room for the records read only: a scenario checks a few new records of a long file
        // after every variant.
        const int from = std::clamp(settings.FirstRecord, 0, total);
        std::vector<uint8_t> buf(static_cast<std::size_t>(std::min(total - from, CheckChunkRecords)) * size);
        std::vector<TStakeRecord> checked;
        for (int start = from; start < total; start += CheckChunkRecords) {
            const int n = std::min(CheckChunkRecords, total - start);
            file.ReadRecords(start, n, buf.data());
            checked.clear();
            int dirtyFirst = -1;
            int dirtyLast = -1;
            for (int i = 0; i < n; ++i) {
                uint8_t* p = buf.data() + static_cast<std::size_t>(i) * size;
                const int pos = start + i + 1;
                const int32_t drawNo = util::GetI32(p + TStakeRecord::OffDrawNo);
                if (StakeBytesDue(p)) {
                    if (first < 0) {
                        first = pos;
                        remaining = total - pos;
                        step = std::max(1, remaining / 100);
                    }
                    progress = pos - first;
                    const int index = drawNo >= minNo && drawNo <= maxNo ? archive::FindDrawIndex(draws, drawNo) : -1;
                    if (index >= 0) {
                        TStakeRecord r;
                        r.Read(p);
                        ApplyDraw(r, draws[static_cast<std::size_t>(index)], settings.Prizes);
                        patchChecked(p, r);
                        if (dirtyFirst < 0) dirtyFirst = i;
                        dirtyLast = i;
                        checked.push_back(std::move(r));
                    }
                }
                if (remaining > 0 && progress > 0 && progress % step == 0 && progress != shown) {
                    shown = progress;
                    shell.SetStatusText(util::Format("Проверка результатов ставок ( завершено %.0f %% )...",
                                                     {100.0 * progress / remaining}));
                }
            }
            if (dirtyFirst < 0) continue;
            // One write per block; the rating and the logs hear of a stake only once it is
            // stored as checked, so a failed write never rates a stake twice.
            file.WriteRecords(start + dirtyFirst, dirtyLast - dirtyFirst + 1,
                              buf.data() + static_cast<std::size_t>(dirtyFirst) * size);
            for (const TStakeRecord& r : checked) {
                result = true;
                if (settings.OnChecked) settings.OnChecked(r);
                if (settings.LogEnabled)
                    WriteStakeLog(settings.LogDir, r, settings.Clock ? settings.Clock() : localNow(), shell);
            }
        }
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка проверки ставок!", e.what());
    }
    return result;
}

bool CheckStakesAndReload(TStakesFile& file, const TCheckSettings& settings, shell::Shell& shell,
                          const std::function<void()>& onRatingsChanged)
{
    const bool checked = CheckStakes(file, settings, shell);
    if (checked) {
        file.Reopen(shell);
        if (onRatingsChanged) onRatingsChanged();
    }
    return checked;
}

// --- logs ------------------------------------------------------------------------------------

std::string StakeLogFileName(int hits)
{
    return "Kvanta_8x20-" + std::to_string(hits) + ".log";
}

std::string StakeLogLine(const TStakeRecord& stake, const std::tm& time)
{
    std::string line = util::Format("%.4d.%.2d.%.2d %.2d:%.2d:%.2d: ",
                                    {time.tm_year + 1900, time.tm_mon + 1, time.tm_mday, time.tm_hour,
                                     time.tm_min, time.tm_sec});
    line += util::Format("Тираж № %s. Ставка: \"%s\" [%s] {%d}. Результаты тиража: [%s]. Совпадений: %d. Профит: %.2f.",
                         {std::to_string(stake.DrawNo), stake.Comment, game::NumSetToText(stake.Stake, ";"),
                          stake.SampleSize, game::CombToText(stake.DrawNums), stake.Matched.Count,
                          stake.Profit.ToDouble()});
    return line;
}

void WriteStakeLog(const std::filesystem::path& dir, const TStakeRecord& stake, const std::tm& time,
                   shell::Shell& shell)
{
    const std::filesystem::path path = dir / StakeLogFileName(stake.Matched.Count);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && StakeLogNeedsReset(st.st_size) && ::unlink(path.c_str()) != 0)
        shell.ShowFailure(util::Format("Ошибка удаления файла \"%s\"!", {path.string()}), util::ErrnoText(errno));

    const std::string bytes = util::Utf8ToCp1251(StakeLogLine(stake, time)) + "\r\n";
    const int err = util::AppendToFile(path, bytes);
    if (err != 0)
        shell.ShowFailure(util::Format("Ошибка записи в файл \"%s\"!", {path.string()}), util::ErrnoText(err));
}

namespace {

constexpr std::string_view LogPrefix = "Kvanta_8x20-";
constexpr std::string_view LogSuffix = ".log";

bool nameMatches(const std::string& name, std::string_view prefix, std::string_view suffix)
{
    return name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0
        && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::filesystem::path> matchingFiles(const std::filesystem::path& dir, std::string_view prefix,
                                                 std::string_view suffix)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        std::error_code typeEc;
        if (!e.is_regular_file(typeEc)) continue;
        if (nameMatches(e.path().filename().string(), prefix, suffix)) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TDeleteSummary DeleteMatchingFiles(const std::filesystem::path& dir, std::string_view prefix,
                                   std::string_view suffix)
{
    TDeleteSummary s;
    std::string failures;
    for (const std::filesystem::path& f : matchingFiles(dir, prefix, suffix)) {
        ++s.Total;
        if (::unlink(f.c_str()) == 0) {
            ++s.Deleted;
        } else {
            ++s.Errors;
            failures += util::Format("\nНе удалось удалить файл \"%s\": %s", {f.string(), util::ErrnoText(errno)});
        }
    }
    s.Title = util::TrText(s.AllDeleted() ? "Удаление файлов завершено." : "Удаление файлов завершено с ошибками.");
    s.Details = util::Format("Всего - %d, обработано - %d, пропущено - %d, предупреждений - %d, ошибок - %d.",
                             {s.Total, s.Deleted, s.Skipped, s.Warnings, s.Errors})
        + failures;
    return s;
}

void LogStakesDelete(const std::filesystem::path& dir, shell::Shell& shell)
{
    if (matchingFiles(dir, LogPrefix, LogSuffix).empty()) {
        shell.ShowInfo("Файлы журналов не найдены!");
        return;
    }
    TDeleteSummary summary;
    {
        shell::BusyScope busy(shell, "Поиск файлов журналов...");
        summary = DeleteMatchingFiles(dir, LogPrefix, LogSuffix);
    }
    shell.ShowMessage(summary.AllDeleted() ? shell::MessageKind::Information : shell::MessageKind::Warning,
                      summary.Title + "\n\n" + summary.Details);
}

} // namespace kv::stakes
