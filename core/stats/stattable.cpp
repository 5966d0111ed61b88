#include "core/stats/stattable.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

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

void setNumber(TStatRow& row, int col, long double v, std::string text)
{
    row.Texts[col] = std::move(text);
    row.Sort[col] = v;
    row.HasNumber[col] = true;
}

void setInt(TStatRow& row, int col, int64_t v)
{
    setNumber(row, col, static_cast<long double>(v), std::to_string(v));
}

void setFloat(TStatRow& row, int col, long double v, const char* format)
{
    setNumber(row, col, v, util::Format(format, {v}));
}

// Column "Факт" for every value: the draw number of the first draw after the value's last
// occurrence in the window that shows it again, or -1. Searching per value re-evaluates the same
// draws once per value, which for tuple kinds with tens of thousands of values takes minutes;
// one forward pass over the draws after the earliest start gives the same answers. The series
// kinds carry a work area from draw to draw, so their answer depends on where a search starts:
// they keep the search per value.
std::vector<int32_t> nextOccurrences(TCustomStat& stat, const TStatDrawArray& values, const game::TDrawsArray& draws,
                                     int lastIndex, bool sorted)
{
    const int count = values.Count();
    std::vector<int32_t> facts(static_cast<std::size_t>(count), -1);
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
    if (pending == 0) return facts;
    if (stat.Kind().GetGroup() == 8) {
        for (int i = 0; i < count; ++i)
            if (from[static_cast<std::size_t>(i)] >= 0)
                facts[static_cast<std::size_t>(i)] = stat.FindValueDraw(values[i], from[static_cast<std::size_t>(i)], lastIndex, sorted);
        return facts;
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
            if (facts[r] != -1 || from[r] < 0 || from[r] > index) continue;
            facts[r] = v.LastDrawNo;
            --pending;
        }
    }
    return facts;
}

} // namespace

const char* StatColumnCaption(int column)
{
    return column >= 0 && column < StatColumns ? Captions[column] : "";
}

std::string DiffText(std::string_view expectedText, int actual)
{
    if (expectedText.empty() || expectedText.find_first_not_of("0123456789") != std::string_view::npos) return "-";
    if (expectedText.size() > 18) return "-";
    const int64_t e = std::stoll(std::string(expectedText));
    const int64_t d = e - actual;
    return d > 0 ? "+" + std::to_string(d) : std::to_string(d);
}

int64_t RoundHalfEven(long double v)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(v);
    std::fesetround(saved);
    return static_cast<int64_t>(r);
}

long double TStatTable::Weight(const TStatList& list, const TStatDrawItem& item, bool hasNorm,
                               const TStatSummary& summary)
{
    const TWeightCoefs& w = list.Config().Weights;
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
    try {
        const int count = static_cast<int>(draws.size());
        m_last = count - 1 - request.DrawsOffset;
        const int64_t first = static_cast<int64_t>(m_last) - std::max(1, request.DrawsStatLen) + 1;
        m_first = static_cast<int>(std::max<int64_t>(0, first));
        const int w = WindowLength();

        const std::unique_ptr<TCustomStat> stat = list.CreateStat(request.Method);
        const std::optional<TPrefetchData> prefetch = cache.Open(list, request.Method, request.PrefetchsEnabled, shell);

        TStatDrawArray values;
        if (m_last >= m_first) {
            TLastValueArray lastValues;
            TWorkArea work{};
            stat->ListValues(m_last, values);
            for (int i = m_first; i <= m_last; ++i)
                stat->CalcDraw(i, m_last, request.SortedDraws, values, lastValues, work);
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
        const auto scaled = [&](int32_t count) { return static_cast<long double>(count) * ratioNum / ratioDen; };
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

        const std::vector<int32_t> facts = nextOccurrences(*stat, values, draws, m_last, request.SortedDraws);
        m_rows.reserve(values.Count());
        for (int itemIndex = 0; itemIndex < values.Count(); ++itemIndex) {
            const TStatDrawItem& item = values[itemIndex];
            TStatRow row;
            row.Item = item;
            row.Texts.fill("-");
            row.Texts[0] = stat->ValueToText(item);
            setInt(row, 1, item.Count);
            if (m_summary.Total != 0)
                setFloat(row, 2, static_cast<long double>(item.Count) * 100 / m_summary.Total, "%.5f");
            if (m_hasNorm) {
                setInt(row, 3, item.Norm);
                setInt(row, 4, static_cast<int64_t>(item.Count) - item.Norm);
                const long double pct = item.Norm == 0 ? (item.Count == 0 ? 0.0L : 100.0L)
                                                       : (static_cast<long double>(item.Count) - item.Norm) * 100 / item.Norm;
                setFloat(row, 5, pct, "%.5f");
            }
            if (item.Depth != 0) {
                setInt(row, 6, item.Depth);
                if (m_summary.MaxDepth != 0)
                    setFloat(row, 7, static_cast<long double>(item.Depth) * 100 / m_summary.MaxDepth, "%.2f");
                setFloat(row, 8, Weight(list, item, m_hasNorm, m_summary), "%.2f");
                setInt(row, 9, item.LastDrawNo);
                const long double n = item.Count;
                if (item.Count > 1) {
                    setInt(row, 10, item.PeriodMin);
                    setFloat(row, 11, static_cast<long double>(w) / n, "%.4f");
                    setInt(row, 12, item.PeriodMax);
                    setInt(row, 13, RoundHalfEven(static_cast<long double>(w) / n + item.LastDrawNo));
                }
                if (item.Count > 0) {
                    setInt(row, 14, RoundHalfEven((n + 1) * item.LastDrawNo / n));
                    setInt(row, 15, RoundHalfEven((n + 2) * (static_cast<long double>(item.LastDrawNo) + 1) / (n + 1)));
                }
                const int32_t fact = facts[static_cast<std::size_t>(itemIndex)];
                if (fact != -1) {
                    setInt(row, 16, fact);
                    for (int col = 17; col <= 19; ++col) {
                        row.Texts[col] = DiffText(row.Texts[col - 4], fact);
                        if (row.Texts[col] != "-") {
                            row.Sort[col] = std::stold(row.Texts[col]);
                            row.HasNumber[col] = true;
                        }
                    }
                }
            }
            m_rows.push_back(std::move(row));
        }

        if (values.Count() >= 2) {
            if (m_hasNorm) {
                m_totalShown = request.ShowTotalLine;
                for (std::size_t r = 0; r < prefetch->Records.size(); ++r) {
                    TStatDrawItem probe;
                    probe.Key = prefetch->Records[r].Key;
                    const std::string label = stat->ValueToText(probe);
                    if (m_totalShown)
                        m_total.push_back({static_cast<double>(r + 1),
                                           static_cast<double>(scaled(prefetch->Records[r].Count)), label});
                    if (recordItem[r] >= 0)
                        m_actual.push_back({static_cast<double>(r + 1),
                                            static_cast<double>(values[recordItem[r]].Count), label});
                }
            } else {
                TStatDrawArray sorted = values;
                SortStatDraw(sorted);
                for (int i = 0; i < sorted.Count(); ++i)
                    m_actual.push_back({static_cast<double>(i + 1), static_cast<double>(sorted[i].Count),
                                        stat->ValueToText(sorted[i])});
            }
        }
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
    }
    m_order.resize(m_rows.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) m_order[i] = static_cast<int>(i);
    SortRows(m_sortColumn, m_sortAscending);
    return true;
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
    const auto& t = Row(row).Texts;
    TStatValues v;
    v.Caption = t[0];
    v.Value = 0;
    v.Count = t[1];
    v.CountPct = t[2];
    v.Deviation = t[4];
    v.DeviationPct = t[5];
    v.Depth = t[6];
    v.DepthPct = t[7];
    v.Weight = t[8];
    v.PeriodMin = t[10];
    v.Period = t[11];
    v.PeriodMax = t[12];
    return v;
}

void TStatTable::SortRows(int column, bool ascending)
{
    if (column < 0 || column >= StatColumns) return;
    m_sortColumn = column;
    m_sortAscending = ascending;
    const auto less = [column](const TStatRow& a, const TStatRow& b) {
        if (column == 0) return CompareStatKey(a.Item, b.Item) < 0;
        if (a.HasNumber[column] != b.HasNumber[column]) return !a.HasNumber[column];
        if (!a.HasNumber[column]) return false;
        return a.Sort[column] < b.Sort[column];
    };
    const auto row = [this](int i) -> const TStatRow& { return m_rows[static_cast<std::size_t>(i)]; };
    if (ascending)
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) { return less(row(a), row(b)); });
    else
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) { return less(row(b), row(a)); });
}

} // namespace kv::stats
