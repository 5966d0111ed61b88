#include "core/filters/filterset.h"

#include <algorithm>
#include <memory>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/statfilter.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::filters {

namespace {

constexpr const char* UnknownMethodText =
    "Метод расчета статистики \"%s\" на найден!\n%s\n\nВозможно, Вы отключили данных метод расчета либо "
    "использовали сценарий от другой модификации программы.";

std::string rowText(const stats::TStatValues& v)
{
    return util::Format("< [%s] кол-во: %s (%s %%), отклонение: %s (%s %%), глубина: %s (%s %%), вес: %s >",
                        {v.Caption, v.Count, v.CountPct, v.Deviation, v.DeviationPct, v.Depth, v.DepthPct, v.Weight});
}

// The stop rules read "Количество" and "Кол-во в %" leniently: "-" is 0.
long double countOf(const std::string& text)
{
    int32_t v = 0;
    return game::TryTextToInt(text, v) ? v : 0;
}

long double percentOf(const std::string& text)
{
    double v = 0;
    return util::TryParseFloat(text, v) ? v : 0;
}

} // namespace

std::vector<TTableTextsMemo::RowTexts>& TTableTextsMemo::Rows(const Key& key)
{
    for (auto& [k, rows] : m_tables)
        if (k == key) return rows;
    std::vector<RowTexts> rows(std::size_t(key.RowCount));
    if (m_tables.size() < MaxTables) return m_tables.emplace_back(key, std::move(rows)).second;
    auto& slot = m_tables[m_next];
    m_next = (m_next + 1) % MaxTables;
    slot = {key, std::move(rows)};
    return slot.second;
}

const std::string& TTableTextsMemo::Caption(const stats::TStatList& list, int method)
{
    for (const auto& [m, caption] : m_captions)
        if (m == method) return caption;
    return m_captions.emplace_back(method, list.GetDisplayName(method, true)).second;
}

const stats::TStatTable* TTableTextsMemo::Table(const Key& key) const
{
    for (const auto& [k, table] : m_built)
        if (k == key) return &table;
    return nullptr;
}

void TTableTextsMemo::KeepTable(const Key& key, const stats::TStatTable& table, const stats::TStatList& list)
{
    std::pair<Key, stats::TStatTable>* slot = nullptr;
    if (m_built.size() < MaxTables) {
        slot = &m_built.emplace_back();
    } else {
        slot = &m_built[m_nextBuilt];
        m_nextBuilt = (m_nextBuilt + 1) % MaxTables;
    }
    slot->first = key;
    slot->second.CopyFrom(table, list);
}

namespace {

class PartRun {
public:
    PartRun(const TFilterPart& part, TFilterSetContext& ctx) : m_part(part), m_ctx(ctx), m_condition(part) {}

    void run()
    {
        m_ctx.ProbeKept = true;
        const stats::TStatList& list = m_ctx.List;
        m_state.SortColumn = m_part.SortColumn;
        m_state.DrawsLen = m_part.DrawsLen;

        // The method must be one the chooser offers (a favourite, listed, available). The test
        // is the chooser's own, without building its names: a scenario asks it for every part.
        const int m = m_part.Method;
        const bool known = m >= 0 && m < list.MethodCount();
        if (!known || !list.IsAvailable(m) || !list.IsListed(m) || !list.IsShown(m)) {
            throw Error(util::Format(UnknownMethodText,
                                     {known ? list.Method(m).MethodCode() : m_part.StatCode,
                                      known ? list.Method(m).DisplayCaption() : std::string()}));
        }
        m_caption = m_ctx.TableTexts ? m_ctx.TableTexts->Caption(list, m) : list.GetDisplayName(m, true);
        m_state.Method = m_part.Method;
        notify();

        // The table of the part's window, with its own weights or the engine's saved ones.
        log([&] {
            return util::Format("Анализ тиражей и расчет статистики \"%s\" для выборки в %d тиражей...",
                                {list.Method(m_part.Method).DisplayCaption(), m_part.DrawsLen});
        });
        m_ctx.List.ApplyWeights(m_part.OverrideWeights, m_part.Weights);
        stats::TStatTableRequest request;
        request.Method = m_part.Method;
        request.DrawsStatLen = m_part.DrawsLen;
        request.DrawsOffset = m_ctx.DrawsOffset;
        request.SortedDraws = m_ctx.Sorted;
        request.PrefetchsEnabled = m_ctx.PrefetchsEnabled;
        request.ShowTotalLine = m_ctx.ShowTotalLine;
        request.Sightings = m_ctx.Sightings;
        stats::TStatTable& table = m_ctx.Table;
        TTableTextsMemo::Key key{.Method = m_part.Method,
                                 .DrawsLen = m_part.DrawsLen,
                                 .DrawsOffset = m_ctx.DrawsOffset,
                                 .SortColumn = m_part.SortColumn,
                                 .RowCount = 0,
                                 .Sorted = m_ctx.Sorted,
                                 .PrefetchsEnabled = m_ctx.PrefetchsEnabled,
                                 .Weights = list.Config().Weights,
                                 .ShowTotalLine = m_ctx.ShowTotalLine};
        const stats::TStatTable* built = m_ctx.TableTexts ? m_ctx.TableTexts->Table(key) : nullptr;
        if (built) {
            table.CopyFrom(*built, list);
        } else {
            table.Clear();
            table.SortRows(m_part.SortColumn, false);
            table.Build(list, m_ctx.Cache, request, m_ctx.Shell, true);
            if (m_ctx.TableTexts) m_ctx.TableTexts->KeepTable(key, table, list);
        }
        notify();

        // The log shows the whole table before any row is marked.
        if (m_ctx.Log)
            for (int r = 0; r < table.RowCount(); ++r) m_ctx.Log(rowText(table.RowToStatValues(r)));

        m_stat = list.CreateStat(m_part.Method);
        if (m_ctx.TableTexts) {
            key.RowCount = table.RowCount();
            m_texts = &m_ctx.TableTexts->Rows(key);
        }
        m_columns = neededColumns();
        visit();
    }

private:
    template <typename MakeText>
    void log(MakeText make)
    {
        if (m_ctx.Log) m_ctx.Log(make());
    }

    void notify()
    {
        if (m_ctx.OnStatView) m_ctx.OnStatView(m_state);
    }

    void select(int row)
    {
        m_state.Selected.push_back(row);
        notify();
    }

    void visit()
    {
        const stats::TStatTable& table = m_ctx.Table;
        const int rows = table.RowCount();
        const bool up = m_part.BottomUp;
        int steps = 0;
        bool aborted = false;
        for (int k = 0; k < rows; ++k) {
            const int r = up ? rows - 1 - k : k;
            m_ctx.Shell.ProcessEvents();
            if (m_ctx.Abort) {
                aborted = true;
                break;
            }
            const stats::TStatValues& v = rowValues(r);
            if (stopsBefore(v, steps)) break;

            const bool match = m_condition.Matches(v);
            if (m_part.MultiSelect) {
                if (match) {
                    select(r);
                    logStep(steps, v);
                }
                ++steps;
                continue;
            }
            if (!match) continue;
            select(r);
            logStep(steps, v);
            const bool kept = apply();
            if (m_ctx.Combs.Empty()) {
                rollBack();
                if (m_part.StopMode == StopEmptied) return;
            } else {
                m_ctx.ProbeKept = m_ctx.ProbeKept && kept;
                ++steps;
            }
        }
        if (m_part.MultiSelect && !aborted) {
            const bool kept = apply();
            if (m_ctx.Combs.Empty()) rollBack();
            else m_ctx.ProbeKept = m_ctx.ProbeKept && kept;
        }
    }

    // The texts of row r that the part reads: the value, the condition's column and the stop
    // mode's; every text when the log shows the rows. The others stay empty.
    const stats::TStatValues& rowValues(int r)
    {
        m_own.Made = 0;
        TTableTextsMemo::RowTexts& row = m_texts && r < int(m_texts->size()) ? (*m_texts)[std::size_t(r)] : m_own;
        const uint32_t missing = m_columns & ~row.Made;
        if (missing != 0) {
            const stats::TStatTable& table = m_ctx.Table;
            stats::TStatValues& v = row.Values;
            const auto make = [&](int column, std::string& text) {
                if ((missing & (1u << column)) != 0) text = table.CellText(r, column);
            };
            make(0, v.Caption);
            make(1, v.Count);
            make(2, v.CountPct);
            make(4, v.Deviation);
            make(5, v.DeviationPct);
            make(6, v.Depth);
            make(7, v.DepthPct);
            make(8, v.Weight);
            make(10, v.PeriodMin);
            make(11, v.Period);
            make(12, v.PeriodMax);
            if ((missing & 1u) != 0) v.Value = m_stat->ParseValue(v.Caption);
            row.Made |= missing;
        }
        return row.Values;
    }

    // The columns rowValues makes.
    uint32_t neededColumns() const
    {
        if (m_ctx.Log) return AllColumns;
        uint32_t columns = 1u;
        const int condition = ConditionColumn(m_part);
        if (condition >= 0) columns |= 1u << condition;
        if (m_part.StopMode == StopByCount) columns |= 1u << 1;
        if (m_part.StopMode == StopByPercent) columns |= 1u << 2;
        return columns;
    }
    static constexpr uint32_t AllColumns = 0x1DF7;   // 0, 1, 2, 4 .. 8, 10 .. 12

    // The stop modes, checked before a row is tested.
    bool stopsBefore(const stats::TStatValues& v, int steps) const
    {
        const bool up = m_part.BottomUp;
        const int32_t stopValue = m_part.StopValue;
        switch (m_part.StopMode) {
        case StopCombCount: return !m_part.MultiSelect && stopValue >= m_ctx.Combs.Count();
        case StopByCount: {
            const long double c = countOf(v.Count);
            return up ? c >= stopValue : c <= stopValue;
        }
        case StopByPercent: {
            const long double p = percentOf(v.CountPct);
            return up ? p >= stopValue : p <= stopValue;
        }
        case StopSteps: return steps >= stopValue;
        default: return false;
        }
    }

    void logStep(int steps, const stats::TStatValues& v)
    {
        log([&] { return util::Format("Шаг %.3d. Выделение строки: ", {steps + 1}) + rowText(v); });
    }

    // Filters with the selected rows and clears the selection; true when the probe ticket (if
    // any) would have stayed.
    bool apply()
    {
        log([&] { return std::string(m_part.KeepSelected ? "Оставляем выделенные значения..." : "Удаляем выделенные значения..."); });
        // The captions of the rows read already: the part made them while visiting.
        const TMarkedValues marked =
            MarkedRows(m_ctx.Table, m_state.Selected, [this](int r) { return rowValues(r).Caption; });
        // The filter rebuilds the whole list from the copy; with nothing marked it keeps the list.
        if (marked.Empty()) m_ctx.Combs.MakeUndoCopy(m_ctx.Shell);
        else m_ctx.Combs.MoveToUndo(m_ctx.Shell);
        const TFilterScope scope{m_ctx.Combs, m_ctx.History, *m_ctx.List.Env().Draws, m_ctx.DrawsOffset, m_ctx.Sorted,
                                 m_ctx.Shell, m_ctx.Memo};
        const bool filtered = FilterCombs(*m_stat, m_caption, marked, !m_part.KeepSelected, scope);
        log([&] { return util::Format("Количество комбинаций в списке: %d", {m_ctx.Combs.Count()}); });
        m_state.Selected.clear();
        notify();
        return !filtered || !m_ctx.Probe || probeKept(marked);
    }

    bool probeKept(const TMarkedValues& marked)
    {
        const int last = LatestDrawInUse(*m_ctx.List.Env().Draws, m_ctx.DrawsOffset);
        m_stat->LoadDraws(-1, last, m_ctx.Sorted);
        const bool exclude = !m_part.KeepSelected;
        // One ticket: the kind's single test, which gives what its batch pass gives, without
        // the tables a batch pass makes first.
        return m_stat->CombMatches(*m_ctx.Probe, marked.Values(), last, m_ctx.Sorted, exclude) != exclude;
    }

    void rollBack()
    {
        log([] { return std::string("{UNDO} Откат изменений..."); });
        m_ctx.Combs.RestoreUndoCopy(m_ctx.Shell);
        m_ctx.History.Append("Отмена последней операции", "", m_ctx.Combs.Count(), THistoryKind::Undo);
    }

    const TFilterPart& m_part;
    TFilterSetContext& m_ctx;
    const TRowCondition m_condition;
    TStatViewState m_state;
    std::string m_caption;
    std::unique_ptr<stats::TCustomStat> m_stat;
    std::vector<TTableTextsMemo::RowTexts>* m_texts = nullptr;
    uint32_t m_columns = 0;
    TTableTextsMemo::RowTexts m_own;   // the row being read when no memo keeps the texts
};

} // namespace

void ApplyFilterPart(const TFilterPart& part, TFilterSetContext& ctx)
{
    PartRun(part, ctx).run();
}

void ApplyFilterSet(const TFilterRec& rec, TFilterSetContext& ctx)
{
    for (const TFilterPart& part : rec) {
        if (ctx.Abort) return;
        if (part.Defined && ctx.Combs.Count() > 1) ApplyFilterPart(part, ctx);
    }
}

} // namespace kv::filters
