#include "core/stakes/ratings.h"
#include "core/util/translate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <system_error>
#include <utility>

#include "core/game/counting.h"
#include "core/game/types.h"
#include "core/shell/shell.h"
#include "core/stakes/sametext.h"
#include "core/stakes/stakerecord.h"
#include "core/stakes/stakesfile.h"
#include "core/util/binio.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stakes {

using util::Currency;

// --- the record ---------------------------------------------------------------------------------

void TRatingRecord::Read(const uint8_t* p)
{
    Name = util::GetShortString(p + OffName, NameCapacity);
    StakeCount = util::GetI32(p + OffStakeCount);
    HitSum = util::GetI32(p + OffHitSum);
    for (int h = 0; h < HitsCount; ++h) Hits[h] = util::GetI32(p + OffHits + 4 * h);
    ProfitSum = Currency::FromRaw(util::GetI64(p + OffProfitSum));
}

void TRatingRecord::Write(uint8_t* p) const
{
    std::fill(p, p + RecordSize, uint8_t{0});
    util::PutShortString(p + OffName, NameCapacity, Name);
    util::PutI32(p + OffStakeCount, StakeCount);
    util::PutI32(p + OffHitSum, HitSum);
    for (int h = 0; h < HitsCount; ++h) util::PutI32(p + OffHits + 4 * h, Hits[h]);
    util::PutI64(p + OffProfitSum, ProfitSum.raw);
}

bool TRatingRecord::IsConsistent() const
{
    if (StakeCount < 0 || HitSum < 0) return false;
    int64_t stakes = 0;
    int64_t hits = 0;
    for (int h = 0; h < HitsCount; ++h) {
        if (Hits[h] < 0) return false;
        stakes += Hits[h];
        hits += int64_t{h} * Hits[h];
    }
    return stakes == StakeCount && hits == HitSum;
}

// --- chance ---------------------------------------------------------------------------------------

const TChanceDistribution& ChanceDistribution()
{
    static const TChanceDistribution chance = [] {
        TChanceDistribution c;
        for (int h = 0; h < TRatingRecord::HitsCount; ++h) {
            c.Expected[h] = game::MatchCount(game::MaxNumber, game::NumsPerDraw, h);
            c.Share[h] = static_cast<long double>(c.Expected[h]) / game::CombCount;
        }
        return c;
    }();
    return chance;
}

// --- the view -------------------------------------------------------------------------------------

const char* RatingEffModeCaption(int mode)
{
    switch (mode) {
    case EffExpected: return "Ожидаемые значения совпадений";
    case EffAbsolute: return "Абсолютные значения эффективности";
    case EffRelative: return "Относительные значения эффективности";
    default: return "";
    }
}

int NormalizeRatingEffMode(int mode)
{
    return mode >= 0 && mode < RatingEffModeCount ? mode : DefaultRatingEffMode;
}

const char* RatingColumnCaption(int column)
{
    static constexpr const char* captions[RatingColumnCount] = {
        "Комментарий", "Ставок", "Совпало", "Среднее", "Профит", "Ср. профит",
        "0", "1", "2", "3", "4", "5", "6", "7", "8",
        "E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7", "E8"};
    return column >= 0 && column < RatingColumnCount ? util::TrText(captions[column]) : "";
}

Currency MeanProfit(const TRatingRecord& r)
{
    if (r.StakeCount <= 0) return {};
    const int64_t n = r.StakeCount;
    int64_t q = r.ProfitSum.raw / n;
    const int64_t rem = r.ProfitSum.raw % n;
    // Exact integer rounding: a double would lose the last unit of large sums.
    if (rem != 0 && 2 * (rem < 0 ? -rem : rem) >= n) q += r.ProfitSum.raw < 0 ? -1 : 1;
    return Currency::FromRaw(q);
}

namespace {

std::string moneyText(Currency c)
{
    return util::CurrencyToText(c, 2, util::DecimalSeparator());
}

std::string meanHitsText(const TRatingRecord& r)
{
    return util::Format("%.3f", {static_cast<double>(r.HitSum) / r.StakeCount});
}

} // namespace

std::string RatingEffText(const TRatingRecord& r, int h, int mode)
{
    if (r.StakeCount == 0 || h < 0 || h >= TRatingRecord::HitsCount) return {};
    const long double share = ChanceDistribution().Share[h];
    const long double count = r.StakeCount;
    switch (mode) {
    case EffExpected: return std::to_string(std::llround(count * share));
    case EffAbsolute: return util::Format("%.3f%%", {r.Hits[h] * 100.0L / count - share * 100.0L});
    case EffRelative: return util::Format("%.3f%%", {r.Hits[h] * 100.0L / (count * share)});
    default: return {};
    }
}

std::string RatingCellText(const TRatingRecord& r, int column, int mode)
{
    switch (column) {
    case 0: return r.Name;
    case 1: return std::to_string(r.StakeCount);
    case 2: return std::to_string(r.HitSum);
    case 3: return r.StakeCount == 0 ? std::string() : meanHitsText(r);
    case 4: return moneyText(r.ProfitSum);
    case 5: return r.StakeCount == 0 ? std::string() : moneyText(MeanProfit(r));
    default: break;
    }
    if (column >= RatingHitsColumn && column < RatingHitsColumn + TRatingRecord::HitsCount)
        return std::to_string(r.Hits[column - RatingHitsColumn]);
    if (column >= RatingEffColumn && column < RatingEffColumn + TRatingRecord::HitsCount)
        return RatingEffText(r, column - RatingEffColumn, mode);
    return {};
}

std::string RatingCellText(const TRatingsArray& rows, int row, int column, int mode)
{
    if (row < 0 || row >= static_cast<int>(rows.size())) return column == 0 ? BadRatingRowText : "";
    return RatingCellText(rows[static_cast<std::size_t>(row)], column, mode);
}

std::string RatingsCountText(int rows)
{
    return util::Format("Рейтинг: %d", {rows});
}

// --- sorting ----------------------------------------------------------------------------------------

namespace {

// The place of a CP1251 character in the collation: letters by their place in the alphabet,
// whatever their case; everything else by its code, before every letter.
struct TCollationKey {
    int Weight = 0;
    bool Upper = false;
};

TCollationKey collationKey(unsigned char c)
{
    if (c >= 'a' && c <= 'z') return {0x100 + (c - 'a'), false};
    if (c >= 'A' && c <= 'Z') return {0x100 + (c - 'A'), true};
    // а..я are 0xE0..0xFF and А..Я 0xC0..0xDF; Ё (0xA8) and ё (0xB8) stand after Е.
    constexpr int Ye = 0xE5 - 0xE0;
    auto cyr = [](int index) { return 0x200 + (index <= Ye ? index : index + 1); };
    if (c >= 0xE0) return {cyr(c - 0xE0), false};
    if (c >= 0xC0) return {cyr(c - 0xC0), true};
    if (c == 0xB8) return {0x200 + Ye + 1, false};
    if (c == 0xA8) return {0x200 + Ye + 1, true};
    return {c, false};
}

int sign(int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int compareCp1251Names(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = collationKey(static_cast<unsigned char>(a[i])).Weight
            - collationKey(static_cast<unsigned char>(b[i])).Weight;
        if (d != 0) return sign(d);
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < n; ++i) {
        const bool ua = collationKey(static_cast<unsigned char>(a[i])).Upper;
        const bool ub = collationKey(static_cast<unsigned char>(b[i])).Upper;
        if (ua != ub) return ua ? 1 : -1;
    }
    return sign(a.compare(b));
}

// Sign of round(x) with halves away from zero.
int roundedSign(long double x)
{
    if (x >= 0.5L) return 1;
    if (x <= -0.5L) return -1;
    return 0;
}

// Differences of sums of money are exact: below 50 units of 1/10000 (half a cent) is equal.
int compareMoney(Currency a, Currency b)
{
    if (a.raw == b.raw) return 0;
    // The difference of two int64 values fits an uint64 (ProfitSum of a damaged file may be
    // anything).
    const bool greater = a.raw > b.raw;
    const uint64_t diff = greater ? static_cast<uint64_t>(a.raw) - static_cast<uint64_t>(b.raw)
                                  : static_cast<uint64_t>(b.raw) - static_cast<uint64_t>(a.raw);
    if (diff < 50) return 0;
    return greater ? 1 : -1;
}

int compareCounted(const TRatingRecord& a, const TRatingRecord& b, int column,
                   std::string_view nameA, std::string_view nameB)
{
    if (a.StakeCount == 0 || b.StakeCount == 0) return 0;
    switch (column) {
    case 0: return compareCp1251Names(nameA, nameB);
    case 1: return sign(int64_t{a.StakeCount} - b.StakeCount);
    case 2: return sign(int64_t{a.HitSum} - b.HitSum);
    case 3:
        return roundedSign((static_cast<long double>(a.HitSum) / a.StakeCount
                            - static_cast<long double>(b.HitSum) / b.StakeCount) * 100.0L);
    case 4: return compareMoney(a.ProfitSum, b.ProfitSum);
    case 5:
        // Means of raw units; x 100 in money units is / 100 in raw units.
        return roundedSign((static_cast<long double>(a.ProfitSum.raw) / a.StakeCount
                            - static_cast<long double>(b.ProfitSum.raw) / b.StakeCount) / 100.0L);
    default: break;
    }
    if (column >= RatingHitsColumn && column < RatingHitsColumn + TRatingRecord::HitsCount)
        return sign(int64_t{a.Hits[column - RatingHitsColumn]} - b.Hits[column - RatingHitsColumn]);
    return 0;
}

// Hoare's quicksort as the program always sorted its lists, recursing into the smaller part.
// Every scan is stopped by an element that the same comparison stopped before (the pivot
// itself at first, compare(x, x) being 0), so a comparison whose equality is not transitive
// still never leads a scan outside the range.
template <typename Compare>
void quickSort(std::vector<int>& a, int lo, int hi, const Compare& cmp)
{
    while (lo < hi) {
        int i = lo;
        int j = hi;
        const int pivot = a[static_cast<std::size_t>(lo + (hi - lo) / 2)];
        do {
            while (cmp(a[static_cast<std::size_t>(i)], pivot) < 0) ++i;
            while (cmp(a[static_cast<std::size_t>(j)], pivot) > 0) --j;
            if (i <= j) {
                std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j) quickSort(a, lo, j, cmp);
            lo = i;
        } else {
            if (i < hi) quickSort(a, i, hi, cmp);
            hi = j;
        }
    }
}

} // namespace

int CompareRatingNames(std::string_view a, std::string_view b)
{
    return compareCp1251Names(util::Utf8ToCp1251(a), util::Utf8ToCp1251(b));
}

int CompareRatings(const TRatingRecord& a, const TRatingRecord& b, int column)
{
    if (column == 0) {
        const std::string na = util::Utf8ToCp1251(a.Name);
        const std::string nb = util::Utf8ToCp1251(b.Name);
        return compareCounted(a, b, column, na, nb);
    }
    return compareCounted(a, b, column, {}, {});
}

void SortRatingsArray(TRatingsArray& rows, int column, bool descending)
{
    const int n = static_cast<int>(rows.size());
    if (n < 2) return;
    // Names are converted once, not at every comparison.
    std::vector<std::string> names;
    if (column == 0) {
        names.reserve(rows.size());
        for (const TRatingRecord& r : rows) names.push_back(util::Utf8ToCp1251(r.Name));
    }
    auto cmp = [&](int x, int y) {
        const std::string_view nx = column == 0 ? std::string_view(names[static_cast<std::size_t>(x)]) : std::string_view();
        const std::string_view ny = column == 0 ? std::string_view(names[static_cast<std::size_t>(y)]) : std::string_view();
        const int c = compareCounted(rows[static_cast<std::size_t>(x)], rows[static_cast<std::size_t>(y)], column, nx, ny);
        return descending ? -c : c;
    };
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    quickSort(order, 0, n - 1, cmp);
    TRatingsArray sorted;
    sorted.reserve(rows.size());
    for (int i : order) sorted.push_back(std::move(rows[static_cast<std::size_t>(i)]));
    rows = std::move(sorted);
}

// --- file and export -----------------------------------------------------------------------------

std::string RatingsFileBytes(const TRatingsArray& rows)
{
    std::string bytes(rows.size() * TRatingRecord::RecordSize, '\0');
    auto* p = reinterpret_cast<uint8_t*>(bytes.data());
    for (const TRatingRecord& r : rows) {
        r.Write(p);
        p += TRatingRecord::RecordSize;
    }
    return bytes;
}

TRatingsFileContent ParseRatingsFile(std::string_view bytes)
{
    TRatingsFileContent c;
    const std::size_t whole = bytes.size() / TRatingRecord::RecordSize;
    c.TrailingBytes = bytes.size() % TRatingRecord::RecordSize;
    c.Rows.reserve(whole);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < whole; ++i, p += TRatingRecord::RecordSize) {
        TRatingRecord r;
        r.Read(p);
        if (!r.IsConsistent()) {
            c.BadRecord = static_cast<int>(i);
            break;
        }
        c.Rows.push_back(std::move(r));
    }
    return c;
}

std::string CsvQuoted(std::string_view text)
{
    std::string q = "\"";
    for (char ch : text) {
        if (ch == '"') q += '"';
        q += ch;
    }
    q += '"';
    return q;
}

std::string RatingsCsvHeader()
{
    std::string line;
    for (int c = 0; c < RatingColumnCount; ++c) {
        if (c > 0) line += ';';
        line += CsvQuoted(RatingColumnCaption(c));
    }
    return line;
}

std::string RatingsCsvLine(const TRatingRecord& r)
{
    std::string line = CsvQuoted(r.Name);
    for (int c = 1; c < RatingEffColumn; ++c) {
        line += ';';
        line += RatingCellText(r, c, EffExpected);
    }
    return line;
}

std::string RatingsCsvText(const TRatingsArray& rows)
{
    std::string text = RatingsCsvHeader() + "\r\n";
    for (const TRatingRecord& r : rows) text += RatingsCsvLine(r) + "\r\n";
    return text;
}

TChartData RatingsOverlapChart(const TRatingsArray& rows, std::span<const int> selected)
{
    TChartData chart;
    chart.Caption = "График количества совпадений для выделенных строк рейтинга";
    std::vector<const TRatingRecord*> chosen;
    for (int row : selected)
        if (row >= 0 && row < static_cast<int>(rows.size())) chosen.push_back(&rows[static_cast<std::size_t>(row)]);
    int32_t most = 0;
    for (const TRatingRecord* r : chosen) most = std::max(most, r->StakeCount);
    const TChanceDistribution& chance = ChanceDistribution();
    for (int h = 0; h < TRatingRecord::HitsCount; ++h)
        chart.AddPoint(h, "Нормальные значения",
                       static_cast<double>(chance.Expected[h]) * most / game::CombCount, true, false, 0x808080);
    for (const TRatingRecord* r : chosen)
        for (int h = 0; h < TRatingRecord::HitsCount; ++h) chart.AddPoint(h, r->Name, r->Hits[h], true, false);
    return chart;
}

TChartData RatingsGraphOverlap(shell::Shell& shell, const TRatingsArray& rows, std::span<const int> selected)
{
    shell::BusyScope busy(shell, "Создание графиков...");
    return RatingsOverlapChart(rows, selected);
}

std::vector<std::string> RatingNames(const TRatingsArray& rows, std::span<const int> selected)
{
    std::vector<std::string> names;
    for (int row : selected)
        if (row >= 0 && row < static_cast<int>(rows.size())) names.push_back(rows[static_cast<std::size_t>(row)].Name);
    return names;
}

// --- the rating of the program ----------------------------------------------------------------

namespace {

constexpr const char* RefreshQuestion =
    "Пересчитать рейтинг только по текущим ставкам?\n\n"
    "Накопленные ранее данные по удаленным ставкам будут потеряны.";
constexpr int RefreshChunkRecords = 4096;

void upperInPlace(std::string& s)
{
    for (char& c : s) c = UpperCp1251(c);
}

} // namespace

void TRatings::Assign(TRatingsArray rows)
{
    m_items = std::move(rows);
    m_indexValid = false;
}

void TRatings::Clear()
{
    m_items.clear();
    m_index.clear();
    m_indexValid = true;
}

void TRatings::rebuildIndex() const
{
    m_index.clear();
    m_index.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        std::string key = util::Utf8ToCp1251Cut(m_items[i].Name, TRatingRecord::NameCapacity);
        upperInPlace(key);
        m_index.emplace(std::move(key), static_cast<int>(i));   // the first row of a name wins
    }
    m_indexValid = true;
}

int TRatings::findKey(const std::string& key) const
{
    if (!m_indexValid) rebuildIndex();
    const auto it = m_index.find(key);
    return it == m_index.end() ? -1 : it->second;
}

int TRatings::Find(std::string_view name) const
{
    std::string key = util::Utf8ToCp1251Cut(name, TRatingRecord::NameCapacity);
    upperInPlace(key);
    return findKey(key);
}

bool TRatings::AddRating(const TStakeRecord& stake)
{
    return AddRating(util::Utf8ToCp1251Cut(stake.Comment, TRatingRecord::NameCapacity), stake.Matched.Count,
                     stake.Profit);
}

bool TRatings::AddRating(std::string_view cp1251Comment, int hits, Currency profit)
{
    // A hit count outside 0..8 (unchecked, or a damaged record) has no column to go to.
    if (hits < 0 || hits >= TRatingRecord::HitsCount) return false;
    const std::string_view name = cp1251Comment.substr(0, TRatingRecord::NameCapacity);
    m_key.assign(name);
    upperInPlace(m_key);
    const int row = findKey(m_key);
    if (row >= 0) {
        TRatingRecord& r = m_items[static_cast<std::size_t>(row)];
        // A row read from a file may stand at the counters' limits: it takes no more stakes
        // rather than wrapping round into negative counts.
        if (r.StakeCount == INT32_MAX || r.HitSum > INT32_MAX - hits) return false;
        ++r.StakeCount;
        r.HitSum += hits;
        r.ProfitSum += profit;
        ++r.Hits[hits];
        return true;
    }
    TRatingRecord r;
    r.Name = util::Cp1251ToUtf8(name);
    r.StakeCount = 1;
    r.HitSum = hits;
    r.ProfitSum = profit;
    r.Hits[hits] = 1;
    m_items.push_back(std::move(r));
    m_index.emplace(m_key, static_cast<int>(m_items.size() - 1));
    return true;
}

void TRatings::SetSortOrder(int column, bool descending)
{
    m_sortColumn = column;
    m_sortDescending = descending;
}

void TRatings::changed()
{
    if (onChanged) onChanged();
}

void TRatings::SortRatings(shell::Shell& shell, int column, bool descending)
{
    {
        shell::BusyScope busy(shell, "Сортировка рейтинга...");
        SetSortOrder(column, descending);
        if (column >= 0 && m_items.size() >= 2) {
            SortRatingsArray(m_items, column, descending);
            m_indexValid = false;
        }
    }
    SaveRatings(shell);
}

bool TRatings::SaveRatings(shell::Shell& shell)
{
    shell::BusyScope busy(shell, "Сохранение файла рейтинга...");
    bool ok = true;
    try {
        m_read.CheckWrite(m_path);
        if (m_readOnly) throw Error(util::ReadOnlyFileText(m_path));
        util::RewriteFile(m_path, RatingsFileBytes(m_items));
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка записи в файл рейтинга!", e.what());
        ok = false;
    }
    changed();
    return ok;
}

void TRatings::LoadRatings(shell::Shell& shell)
{
    std::error_code ec;
    m_read.MarkRead();
    if (!std::filesystem::exists(m_path, ec)) {
        changed();
        return;
    }
    // Rows that could not be read must not vanish with the save that follows the sort: the
    // file is copied first, and when it cannot be read or copied it is left alone.
    bool mayRewrite = false;
    {
        shell::BusyScope busy(shell, "Загрузка файла рейтинга...");
        const std::string name = m_path.filename().string();
        try {
            const std::string bytes = util::ReadWholeFile(m_path);
            TRatingsFileContent content = ParseRatingsFile(bytes);
            Assign(std::move(content.Rows));
            if (content.BadRecord < 0 && content.TrailingBytes == 0) {
                mayRewrite = true;
            } else {
                const util::TBackupCopy copy = util::KeepBackupCopy(m_path);
                mayRewrite = copy.Saved;
                m_readOnly = !copy.Saved;
                if (content.BadRecord >= 0)
                    shell.ShowFailure("Ошибка чтения файла рейтинга!",
                        util::Format("Запись %d файла \"%s\" не является записью рейтинга: файл другой версии "
                                     "или поврежден. Прочитаны записи до нее (%d).",
                                     {content.BadRecord + 1, name, content.BadRecord}) + "\n\n" + copy.Note);
                else
                    shell.ShowMessage(shell::MessageKind::Warning,
                        util::Format("Файл рейтинга \"%s\" заканчивается неполной записью (%d байт); она не прочитана.",
                                     {name, static_cast<int>(content.TrailingBytes)}) + "\n\n" + copy.Note);
            }
        } catch (const std::exception& e) {
            // Nothing was read: a save would replace the file with only the rows to come.
            m_readOnly = true;
            shell.ShowFailure("Ошибка чтения файла рейтинга!", e.what());
        }
    }
    if (mayRewrite) {
        SortRatings(shell, m_sortColumn, m_sortDescending);
    } else {
        if (m_sortColumn >= 0) SortRatingsArray(m_items, m_sortColumn, m_sortDescending);
        m_indexValid = false;
        changed();
    }
}

bool TRatings::RatingsRefresh(shell::Shell& shell, TStakesFile& stakes)
{
    if (!m_items.empty() && !shell.Confirm(RefreshQuestion)) return false;
    shell::BusyScope busy(shell, "Обновление рейтинга...");
    try {
        if (!stakes.IsOpen()) throw Error("Файл ставок не открыт!");
        // Built aside, so that a failure leaves the rating as it was.
        TRatings fresh;
        const int total = stakes.RecordCount();
        constexpr std::size_t size = TStakeRecord::RecordSize;
        std::vector<uint8_t> buf(static_cast<std::size_t>(std::min(total, RefreshChunkRecords)) * size);
        for (int start = 0; start < total; start += RefreshChunkRecords) {
            const int n = std::min(RefreshChunkRecords, total - start);
            stakes.ReadRecords(start, n, buf.data());
            for (int i = 0; i < n; ++i) {
                const uint8_t* p = buf.data() + static_cast<std::size_t>(i) * size;
                if (util::GetI32(p + TStakeRecord::OffDrawNo) < 0 || util::GetU8(p + TStakeRecord::OffChecked) == 0
                    || StakeBytesDamaged(p))
                    continue;
                const uint8_t* comment = p + TStakeRecord::OffComment;
                const std::size_t len = std::min<std::size_t>(comment[0], TStakeRecord::CommentCapacity);
                fresh.AddRating(std::string_view(reinterpret_cast<const char*>(comment + 1), len),
                                util::GetI32(p + TStakeRecord::OffMatched),
                                Currency::FromRaw(util::GetI64(p + TStakeRecord::OffProfit)));
            }
            shell.ProcessEvents();
        }
        Assign(std::move(fresh.m_items));
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка обновления рейтинга!", e.what());
        return false;
    }
    SortRatings(shell, m_sortColumn, m_sortDescending);
    return true;
}

bool TRatings::RatingsExport(shell::Shell& shell, const std::filesystem::path& file) const
{
    shell::BusyScope busy(shell, "Экспорт в CSV-файл...");
    try {
        util::RewriteFile(file, util::Utf8ToCp1251(RatingsCsvText(m_items)));
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        return false;
    }
    return true;
}

} // namespace kv::stakes
