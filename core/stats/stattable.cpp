#include "core/stats/stattable.h"
#include "core/util/translate.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "core/archive/archive.h"
#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"

namespace kv::stats {

namespace {

const char* const Captions[StatColumns] = {
    "Значение",   "Количество", "Кол-во в %", "Норма",      "Отклонение", "Откл-ие в %", "Глубина",
    "Глубина в %", "Вес",        "Посл. тираж", "Период min", "Период",     "Период max",  "Ожд. ПРД",
    "Ожд. СТФ",   "Ожд. КРН",   "Факт",       "+/- ПРД",    "+/- СТФ",    "+/- КРН"};

// Sorts (key, index) pairs by key, stably: a radix sort by bytes, lowest first, that skips the
// bytes in which all keys agree (the high byte of every small key). Linear where a comparison
// sort of tens of thousands of values is not.
void radixSort(std::vector<std::pair<uint64_t, int32_t>>& items, std::vector<std::pair<uint64_t, int32_t>>& buffer)
{
    if (items.size() < 2) return;
    uint64_t all = 0, common = ~uint64_t(0);
    for (const auto& item : items) {
        all |= item.first;
        common &= item.first;
    }
    buffer.resize(items.size());
    for (int shift = 0; shift < 64; shift += 8) {
        if (((all ^ common) >> shift & 0xFF) == 0) continue;
        std::array<std::size_t, 257> start{};
        for (const auto& item : items) ++start[(item.first >> shift & 0xFF) + 1];
        for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
        for (const auto& item : items) buffer[start[item.first >> shift & 0xFF]++] = item;
        items.swap(buffer);
    }
}

// Column "Факт" for every value: the draw number of the first draw after the value's last
// occurrence in the window that shows it again, or -1. Searching per value re-evaluates the same
// draws once per value, which for tuple kinds with tens of thousands of values takes minutes;
// one forward pass over the draws after the earliest start gives the same answers. The series
// kinds carry a work area from draw to draw, so their answer depends on where a search starts:
// they keep the search per value.
void nextOccurrences(TCustomStat& stat, const TStatDrawArray& values, const game::TDrawsArray& draws, int lastIndex,
                     bool sorted, std::vector<TStatRow>& rows, const TSightings::Map* sightings)
{
    const int count = values.Count();
    const auto fact = [&rows](int i) -> int32_t& { return rows[static_cast<std::size_t>(i)].Fact; };
    std::vector<int> from(static_cast<std::size_t>(count), -1);
    const int archiveLast = static_cast<int>(draws.size()) - 1;
    int first = archiveLast + 1;
    int pending = 0;
    for (int i = 0; i < count; ++i) {
        if (values[i].Depth == 0) continue;
        const int start = archive::FindDrawIndex(draws, values[i].LastDrawNo) + 1;
        if (start > archiveLast) continue;
        from[static_cast<std::size_t>(i)] = start;
        first = std::min(first, start);
        ++pending;
    }
    // A period lies between two draws, and the search evaluates each draw on its own: a period
    // value is never met again, and walking the rest of the archive would only say so.
    if (pending == 0 || stat.Kind().GetGroup() == GroupPeriods) return;
    if (sightings) {
        // The first sighting from the value's start on.
        for (int i = 0; i < count; ++i) {
            const int start = from[static_cast<std::size_t>(i)];
            if (start < 0) continue;
            const auto seen = sightings->find(values[i].PackedKey());
            if (seen == sightings->end()) continue;
            const std::size_t next = seen->second.From(start);
            if (next < seen->second.Draws.size()) fact(i) = seen->second.Draws[next].DrawNo;
        }
        return;
    }
    if (stat.Kind().GetGroup() == GroupSeries) {
        for (int i = 0; i < count; ++i)
            if (from[static_cast<std::size_t>(i)] >= 0)
                fact(i) = stat.FindValueDraw(values[i], from[static_cast<std::size_t>(i)], lastIndex, sorted);
        return;
    }
    TWorkArea work{};
    TStatDrawArray shown;
    TLastValueArray lastValues;
    for (int index = first; index <= archiveLast && pending > 0; ++index) {
        shown.Clear();
        lastValues.Clear();
        stat.CalcDraw(index, lastIndex, sorted, shown, lastValues, work);
        for (const TStatDrawItem& v : shown) {
            const int row = values.Find(v);
            if (row < 0) continue;
            const auto r = static_cast<std::size_t>(row);
            if (fact(row) != -1 || from[r] < 0 || from[r] > index) continue;
            fact(row) = v.LastDrawNo;
            --pending;
        }
    }
}

} // namespace

std::size_t TSightings::Seen::From(int from) const
{
    const std::size_t n = Draws.size();
    // The first position p with every draw before it earlier than `from` and none from p on.
    const auto fits = [&](std::size_t p) {
        return (p == 0 || Draws[p - 1].Index < from) && (p == n || Draws[p].Index >= from);
    };
    if (Hint <= n && fits(Hint)) return Hint;
    if (Hint < n && fits(Hint + 1)) return ++Hint;
    Hint = static_cast<std::size_t>(
        std::lower_bound(Draws.begin(), Draws.end(), from, [](const Draw& d, int index) { return d.Index < index; })
        - Draws.begin());
    return Hint;
}

const TSightings::Map* TSightings::Of(int method, bool sorted, TCustomStat& stat, const game::TDrawsArray& draws)
{
    // The values of the other kinds depend on the window's last draw, on earlier draws or on
    // the runs carried from draw to draw.
    const unsigned flags = stat.Kind().GetFlags();
    const int group = stat.Kind().GetGroup();
    if ((flags & FlagN) == 0 || (flags & (FlagD | FlagP)) != 0 || group == GroupSeries || group == GroupPeriods)
        return nullptr;
    const auto [it, made] = m_methods.try_emplace({method, sorted});
    if (!made) return &it->second;
    TStatDrawArray shown;
    TLastValueArray lastValues;
    TWorkArea work{};
    const int last = static_cast<int>(draws.size()) - 1;
    for (int index = 0; index <= last; ++index) {
        shown.Clear();
        lastValues.Clear();
        stat.CalcDraw(index, last, sorted, shown, lastValues, work);
        for (const TStatDrawItem& v : shown) it->second[v.PackedKey()].Draws.push_back({index, v.LastDrawNo});
    }
    return &it->second;
}

const char* StatColumnCaption(int column)
{
    return column >= 0 && column < StatColumns ? util::TrText(Captions[column]) : "";
}

std::string DiffText(std::string_view expectedText, int actual)
{
    if (expectedText.empty() || expectedText.find_first_not_of("0123456789") != std::string_view::npos) return "-";
    if (expectedText.size() > 18) return "-";
    const int64_t e = std::stoll(std::string(expectedText));
    const int64_t d = e - actual;
    std::string text = std::to_string(d);
    if (d > 0) text.insert(text.begin(), '+');
    return text;
}

int64_t RoundHalfEven(long double v)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(v);
    std::fesetround(saved);
    return static_cast<int64_t>(r);
}

TStatTable::TStatTable() = default;
TStatTable::~TStatTable() = default;
TStatTable::TStatTable(TStatTable&&) noexcept = default;
TStatTable& TStatTable::operator=(TStatTable&&) noexcept = default;

long double TStatTable::Weight(const TStatList& list, const TStatDrawItem& item, bool hasNorm,
                               const TStatSummary& summary)
{
    return Weight(list.Config().Weights, item, hasNorm, summary);
}

long double TStatTable::Weight(const TWeightCoefs& w, const TStatDrawItem& item, bool hasNorm,
                               const TStatSummary& summary)
{
    const long double d = hasNorm ? static_cast<long double>(item.Count) - item.Norm : 0.0L;
    long double c, e, g;
    if (w.UsePercents) {
        c = summary.Total == 0 ? 0.0L : static_cast<long double>(item.Count) * 100 / summary.Total;
        e = (!hasNorm || item.Norm == 0) ? 0.0L : d * 100 / item.Norm;
        g = summary.MaxDepth == 0 ? 0.0L : static_cast<long double>(item.Depth) * 100 / summary.MaxDepth;
    } else {
        c = item.Count;
        e = d;
        g = item.Depth;
    }
    if (w.UseAbsolute) {
        c = std::fabs(c);
        e = std::fabs(e);
        g = std::fabs(g);
    }
    const long double weight = w.CoefCount * c + w.CoefDeviation * e + w.CoefDepth * g;
    if (!std::isfinite(weight)) return -999.99L;
    return weight;
}

void TStatTable::Clear()
{
    m_rows.clear();
    m_order.clear();
    m_actual.clear();
    m_total.clear();
    m_totalShown = false;
    m_hasNorm = false;
    m_first = 0;
    m_last = -1;
    m_summary = TStatSummary{};
    m_stat.reset();
}

void TStatTable::CopyFrom(const TStatTable& other, const TStatList& list)
{
    if (this == &other) return;
    m_stat = other.m_stat ? list.CreateStat(other.m_key.method) : nullptr;
    m_key = other.m_key;
    m_rows = other.m_rows;
    m_order = other.m_order;
    m_weights = other.m_weights;
    m_separator = other.m_separator;
    m_valueOrder = other.m_valueOrder;
    m_actual = other.m_actual;
    m_total = other.m_total;
    m_totalShown = other.m_totalShown;
    m_hasNorm = other.m_hasNorm;
    m_first = other.m_first;
    m_last = other.m_last;
    m_summary = other.m_summary;
    m_sortColumn = other.m_sortColumn;
    m_sortAscending = other.m_sortAscending;
}

bool TStatTable::Build(const TStatList& list, const TPrefetchCache& cache, const TStatTableRequest& request,
                       shell::Shell& shell, bool force)
{
    const game::TDrawsArray& draws = *list.Env().Draws;
    Key key;
    key.drawCount = static_cast<int>(draws.size());
    key.offset = request.DrawsOffset;
    key.len = request.DrawsStatLen;
    key.method = request.Method;
    if (request.Method >= 0 && request.Method < list.MethodCount()) key.code = list.Method(request.Method).MethodCode();
    if (!force && key == m_key) return false;
    m_key = key;

    Clear();
    if (request.Method < 0 || request.Method >= list.MethodCount() || draws.empty()) return true;

    shell::BusyScope busy(shell, "Анализ тиражей и расчет статистики...");
    bool rowsDone = false;   // a failure before the rows are complete leaves no rows
    try {
        m_weights = list.Config().Weights;
        m_separator = util::DecimalSeparator();
        const int count = static_cast<int>(draws.size());
        m_last = count - 1 - request.DrawsOffset;
        const int64_t first = static_cast<int64_t>(m_last) - std::max(1, request.DrawsStatLen) + 1;
        m_first = static_cast<int>(std::max<int64_t>(0, first));

        m_stat = list.CreateStat(request.Method);
        TCustomStat& stat = *m_stat;
        m_valueOrder = stat.KeyOrder();
        const std::optional<TPrefetchData> prefetch = cache.Open(list, request.Method, request.PrefetchsEnabled, shell);

        TStatDrawArray& values = m_values;
        values.Clear();
        if (m_last >= m_first) {
            TLastValueArray lastValues;
            TWorkArea work{};
            stat.ListValues(m_last, values);
            for (int i = m_first; i <= m_last; ++i)
                stat.CalcDraw(i, m_last, request.SortedDraws, values, lastValues, work);
        }
        m_summary = SummarizeStatDraw(values);

        // The ratio is kept as a fraction: a norm is record count x numerator / denominator with
        // one rounding of the division, so that a norm that is exactly x.5 stays x.5 and goes to
        // the even neighbour (a rounded ratio turns 50388 x (53 / 2 / 50388) into 26.500...02).
        long double ratioNum = 0, ratioDen = 1;
        if (prefetch && prefetch->MaxCount > 0) {
            m_hasNorm = true;
            if (prefetch->MinCount == prefetch->MaxCount) {
                ratioNum = static_cast<long double>(m_summary.MaxCount) + m_summary.MinCount;
                ratioDen = 2.0L * prefetch->MaxCount;
            } else {
                ratioNum = m_summary.MaxCount;
                ratioDen = prefetch->MaxCount;
            }
        }
        const auto scaled = [&](int32_t n) { return static_cast<long double>(n) * ratioNum / ratioDen; };
        std::vector<int> recordItem;   // per prefetch record: index of the item with its keys, or -1
        if (m_hasNorm) {
            recordItem.reserve(prefetch->Records.size());
            for (const TPrefetchRecord& r : prefetch->Records) {
                TStatDrawItem probe;
                probe.Key = r.Key;
                const int idx = values.Find(probe);
                recordItem.push_back(idx);
                if (idx >= 0) values[idx].Norm = static_cast<int32_t>(RoundHalfEven(scaled(r.Count)));
            }
        }

        m_rows.resize(static_cast<std::size_t>(values.Count()));
        for (int i = 0; i < values.Count(); ++i) m_rows[static_cast<std::size_t>(i)] = TStatRow{values[i], -1};
        nextOccurrences(stat, values, draws, m_last, request.SortedDraws, m_rows,
                        request.Sightings ? request.Sightings->Of(request.Method, request.SortedDraws, stat, draws)
                                          : nullptr);
        rowsDone = true;

        if (values.Count() >= 2) {
            if (m_hasNorm) {
                m_totalShown = request.ShowTotalLine;
                for (std::size_t r = 0; r < prefetch->Records.size(); ++r) {
                    TStatDrawItem probe;
                    probe.Key = prefetch->Records[r].Key;
                    if (m_totalShown)
                        m_total.push_back({static_cast<double>(r + 1),
                                           static_cast<double>(scaled(prefetch->Records[r].Count)), probe.Key});
                    if (recordItem[r] >= 0)
                        m_actual.push_back({static_cast<double>(r + 1),
                                            static_cast<double>(values[recordItem[r]].Count), probe.Key});
                }
            } else {
                m_keyOrder.resize(static_cast<std::size_t>(values.Count()));
                for (int i = 0; i < values.Count(); ++i) m_keyOrder[static_cast<std::size_t>(i)] = {keyRank(values[i]), i};
                radixSort(m_keyOrder, m_keyBuffer);
                m_actual.reserve(m_keyOrder.size());
                for (std::size_t i = 0; i < m_keyOrder.size(); ++i) {
                    const TStatDrawItem& item = values[m_keyOrder[i].second];
                    m_actual.push_back({static_cast<double>(i + 1), static_cast<double>(item.Count), item.Key});
                }
            }
        }
    } catch (const std::exception& e) {
        if (!rowsDone) m_rows.clear();
        shell.ShowError(e.what());
    }
    m_order.resize(m_rows.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) m_order[i] = static_cast<int>(i);
    SortRows(m_sortColumn, m_sortAscending);
    return true;
}

// One cell as a number with the form of its text. Each column's arithmetic is done in long
// double in one way only, so that the text and the sort key come from the same number.
struct TStatTable::Cell {
    enum class Form : uint8_t { Dash, Key, Int, Diff, Fixed };
    Form form = Form::Dash;
    int decimals = 0;
    int64_t integer = 0;
    long double number = 0;
};

TStatTable::Cell TStatTable::cell(const TStatRow& row, int column) const
{
    const auto integer = [](int64_t v) {
        Cell c;
        c.form = Cell::Form::Int;
        c.integer = v;
        c.number = static_cast<long double>(v);
        return c;
    };
    const auto fixed = [](long double v, int decimals) {
        Cell c;
        c.form = Cell::Form::Fixed;
        c.decimals = decimals;
        c.number = v;
        return c;
    };
    const TStatDrawItem& item = row.Item;
    switch (column) {
    case 0: {
        Cell c;
        c.form = Cell::Form::Key;
        c.number = static_cast<long double>(keyRank(item));
        return c;
    }
    case 1:
        return integer(item.Count);
    case 2:
        if (m_summary.Total != 0) return fixed(static_cast<long double>(item.Count) * 100 / m_summary.Total, 5);
        return {};
    case 3:
        if (m_hasNorm) return integer(item.Norm);
        return {};
    case 4:
        if (m_hasNorm) return integer(static_cast<int64_t>(item.Count) - item.Norm);
        return {};
    case 5:
        if (m_hasNorm) {
            const long double pct = item.Norm == 0 ? (item.Count == 0 ? 0.0L : 100.0L)
                                                   : (static_cast<long double>(item.Count) - item.Norm) * 100 / item.Norm;
            return fixed(pct, 5);
        }
        return {};
    default:
        break;
    }
    // The columns from "Глубина" on describe the last occurrence in the window.
    if (item.Depth == 0 || column < 0 || column >= StatColumns) return {};
    const long double n = item.Count;
    const int w = WindowLength();
    switch (column) {
    case 6:
        return integer(item.Depth);
    case 7:
        if (m_summary.MaxDepth != 0) return fixed(static_cast<long double>(item.Depth) * 100 / m_summary.MaxDepth, 2);
        return {};
    case 8:
        return fixed(Weight(m_weights, item, m_hasNorm, m_summary), 2);
    case 9:
        return integer(item.LastDrawNo);
    case 10:
        if (item.Count > 1) return integer(item.PeriodMin);
        return {};
    case 11:
        if (item.Count > 1) return fixed(static_cast<long double>(w) / n, 4);
        return {};
    case 12:
        if (item.Count > 1) return integer(item.PeriodMax);
        return {};
    case 13:
        if (item.Count > 1) return integer(RoundHalfEven(static_cast<long double>(w) / n + item.LastDrawNo));
        return {};
    case 14:
        // Divides by the count: a value seen in the window but never counted (KRL3 at the newest
        // draw has Count 0 with Depth 1) has no such expectation and keeps "-".
        if (item.Count > 0) return integer(RoundHalfEven((n + 1) * item.LastDrawNo / n));
        return {};
    case 15:
        return integer(RoundHalfEven((n + 2) * (static_cast<long double>(item.LastDrawNo) + 1) / (n + 1)));
    case 16:
        if (row.Fact != -1) return integer(row.Fact);
        return {};
    default: {
        // "+/- ..." is what DiffText makes of the expectation's text: a difference only for an
        // expectation shown as a non-negative integer of at most 18 digits.
        if (row.Fact == -1) return {};
        const Cell e = cell(row, column - 4);
        if (e.form != Cell::Form::Int || e.integer < 0 || e.integer > 999'999'999'999'999'999LL) return {};
        Cell c = integer(e.integer - row.Fact);
        c.form = Cell::Form::Diff;
        return c;
    }
    }
}

std::string TStatTable::cellText(const TStatRow& row, int column) const
{
    if (column < 0 || column >= StatColumns) return {};
    const Cell c = cell(row, column);
    switch (c.form) {
    case Cell::Form::Dash:
        return "-";
    case Cell::Form::Key:
        return m_stat ? m_stat->ValueToText(row.Item) : std::string();
    case Cell::Form::Int:
        return std::to_string(c.integer);
    case Cell::Form::Diff: {
        std::string text = std::to_string(c.integer);
        if (c.integer > 0) text.insert(text.begin(), '+');
        return text;
    }
    case Cell::Form::Fixed:
        return util::FormatSep(m_separator, c.decimals == 5 ? "%.5f" : c.decimals == 4 ? "%.4f" : "%.2f", {c.number});
    }
    return "-";
}

std::string TStatTable::CellText(int row, int column) const
{
    if (row < 0 || row >= RowCount()) return {};
    return cellText(Row(row), column);
}

std::array<std::string, StatColumns> TStatTable::RowTexts(int row) const
{
    std::array<std::string, StatColumns> texts;
    if (row < 0 || row >= RowCount()) return texts;
    const TStatRow& r = Row(row);
    for (int c = 0; c < StatColumns; ++c) texts[static_cast<std::size_t>(c)] = cellText(r, c);
    return texts;
}

std::optional<long double> TStatTable::CellNumber(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column <= 0 || column >= StatColumns) return std::nullopt;
    const Cell c = cell(Row(row), column);
    if (c.form == Cell::Form::Dash) return std::nullopt;
    return c.number;
}

std::string TStatTable::PointLabel(const TChartPoint& point) const
{
    if (!m_stat) return {};
    TStatDrawItem value;
    value.Key = point.Key;
    return m_stat->ValueToText(value);
}

std::vector<TStatRow> TStatTable::Rows() const
{
    std::vector<TStatRow> rows;
    rows.reserve(m_order.size());
    for (int i : m_order) rows.push_back(m_rows[static_cast<std::size_t>(i)]);
    return rows;
}

TStatValues TStatTable::RowToStatValues(int row) const
{
    const TStatRow& r = Row(row);
    TStatValues v;
    v.Caption = cellText(r, 0);
    v.Value = 0;
    v.Count = cellText(r, 1);
    v.CountPct = cellText(r, 2);
    v.Deviation = cellText(r, 4);
    v.DeviationPct = cellText(r, 5);
    v.Depth = cellText(r, 6);
    v.DepthPct = cellText(r, 7);
    v.Weight = cellText(r, 8);
    v.PeriodMin = cellText(r, 10);
    v.Period = cellText(r, 11);
    v.PeriodMax = cellText(r, 12);
    return v;
}

void TStatTable::SortRows(int column, bool ascending)
{
    if (column < 0 || column >= StatColumns) return;
    m_sortColumn = column;
    m_sortAscending = ascending;
    // The keys of the column are worked out once, in the current order; sorting them stably with
    // the row indexes keeps equal rows in the order they had.
    const std::size_t n = m_order.size();
    if (column == 0) {
        // By the keys, the complement of the key sorting descending.
        m_keyOrder.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const uint64_t k = keyRank(m_rows[static_cast<std::size_t>(m_order[i])].Item);
            m_keyOrder[i] = {ascending ? k : ~k, m_order[i]};
        }
        radixSort(m_keyOrder, m_keyBuffer);
        for (std::size_t i = 0; i < n; ++i) m_order[i] = m_keyOrder[i].second;
        return;
    }
    m_sortKeys.resize(n);
    bool integral = true;
    std::size_t numbers = 0;
    int64_t lo = std::numeric_limits<int64_t>::max(), hi = std::numeric_limits<int64_t>::min();
    for (std::size_t i = 0; i < n; ++i) {
        const Cell c = cell(m_rows[static_cast<std::size_t>(m_order[i])], column);
        const bool has = c.form != Cell::Form::Dash;
        m_sortKeys[i] = SortEntry{c.number, c.integer, m_order[i], has};
        if (!has) continue;
        ++numbers;
        if (c.form == Cell::Form::Int || c.form == Cell::Form::Diff) {
            lo = std::min(lo, c.integer);
            hi = std::max(hi, c.integer);
        } else {
            integral = false;
        }
    }
    // Most columns are integers within a small range (counts, depths, draw numbers of one
    // window): a counting sort is stable as well and takes linear time.
    if (integral && (numbers == 0 || static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) <= 4 * n + 1024)) {
        const std::size_t range = numbers == 0 ? 1 : static_cast<std::size_t>(static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo)) + 1;
        const auto bucket = [&](const SortEntry& e) {
            const std::size_t k = static_cast<std::size_t>(static_cast<uint64_t>(e.Integer) - static_cast<uint64_t>(lo));
            return ascending ? k : range - 1 - k;
        };
        m_buckets.assign(range, 0);
        for (const SortEntry& e : m_sortKeys)
            if (e.HasNumber) ++m_buckets[bucket(e)];
        // "-" cells come before the numbers ascending and after them descending.
        std::size_t dash = ascending ? 0 : numbers;
        std::size_t next = ascending ? n - numbers : 0;
        for (int32_t& b : m_buckets) {
            const auto count = static_cast<std::size_t>(b);
            b = static_cast<int32_t>(next);
            next += count;
        }
        for (const SortEntry& e : m_sortKeys) {
            const std::size_t at = e.HasNumber ? static_cast<std::size_t>(m_buckets[bucket(e)]++) : dash++;
            m_order[at] = e.Index;
        }
        return;
    }
    const auto less = [](const SortEntry& a, const SortEntry& b) {
        if (a.HasNumber != b.HasNumber) return !a.HasNumber;
        return a.HasNumber && a.Key < b.Key;
    };
    if (ascending)
        std::stable_sort(m_sortKeys.begin(), m_sortKeys.end(), less);
    else
        std::stable_sort(m_sortKeys.begin(), m_sortKeys.end(),
                         [&less](const SortEntry& a, const SortEntry& b) { return less(b, a); });
    for (std::size_t i = 0; i < n; ++i) m_order[i] = m_sortKeys[i].Index;
}

} // namespace kv::stats
