#include "core/filters/statfilter.h"

#include <algorithm>
#include <memory>

#include "core/filters/compact.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/filteritem.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"

namespace kv::filters {

namespace {

// A pass over the full list answers 125970 tests; the answers are kept between passes so that
// filtering allocates nothing once the first pass has run.
std::vector<uint8_t>& matchBuffer()
{
    static thread_local std::vector<uint8_t> buffer;
    return buffer;
}

std::unique_ptr<stats::TCustomStat> createNums(const stats::TStatList& list)
{
    const int method = list.FindMethod("NUMS");
    if (method >= 0) return list.CreateStat(method);
    // A registry built from other kinds (tests, tools) still has the drawn numbers to offer.
    for (const stats::TStatKind* kind : stats::Catalogue())
        if (kind->GetCode() == "NUMS") return kind->Create(list.Env(), 0);
    throw Error("Метод расчета статистики \"NUMS\" не зарегистрирован!");
}

} // namespace

// --- marked values -------------------------------------------------------------------------------

void TMarkedValues::Add(const stats::TStatDrawItem& item, std::string caption)
{
    if (m_values.Find(item) >= 0) return;
    m_values.Append(item);
    m_captions.push_back(std::move(caption));
}

void TMarkedValues::AddNumber(int number)
{
    stats::TStatDrawItem item;
    item.Key[0] = static_cast<int16_t>(number);
    Add(item, std::to_string(number));
}

std::string TMarkedValues::Text() const
{
    std::string s;
    for (std::size_t i = 0; i < m_captions.size(); ++i) {
        if (i > 0) s += "; ";
        s += m_captions[i];
    }
    return s;
}

TMarkedValues MarkedRows(const stats::TStatTable& table, std::span<const int> rows)
{
    return MarkedRows(table, rows, [&table](int r) { return table.CellText(r, 0); });
}

TMarkedValues MarkedRows(const stats::TStatTable& table, std::span<const int> rows,
                         const std::function<std::string(int)>& caption)
{
    std::vector<int> sorted(rows.begin(), rows.end());
    std::sort(sorted.begin(), sorted.end());
    TMarkedValues marked;
    marked.Reserve(static_cast<int>(sorted.size()));
    for (int r : sorted)
        if (r >= 0 && r < table.RowCount()) marked.Add(table.Row(r).Item, caption(r));
    return marked;
}

int LatestDrawInUse(const game::TDrawsArray& draws, int drawsOffset)
{
    const int64_t last = static_cast<int64_t>(draws.size()) - 1 - drawsOffset;
    return last < 0 ? 0 : static_cast<int>(last);
}

// --- the memo of filter passes ---------------------------------------------------------------------

bool TFilterMemo::Applies(const stats::TCustomStat& stat)
{
    const unsigned flags = stat.Kind().GetFlags();
    return (flags & stats::FlagN) != 0 && (flags & (stats::FlagD | stats::FlagP)) == 0;
}

std::size_t TFilterMemo::PassHash::operator()(const Pass& p) const
{
    uint64_t h = reinterpret_cast<uintptr_t>(p.Kind);
    const auto mix = [&h](uint64_t v) { h = (h ^ v) * 0x100000001B3ull + (h >> 29); };
    mix(uint64_t(uint32_t(p.Param)));
    mix(uint64_t(p.Exclude) | uint64_t(p.Sorted) << 1);
    mix(p.Input);
    for (const std::array<int16_t, 4>& k : p.Keys) {
        uint64_t w = 0;
        std::memcpy(&w, k.data(), sizeof w);
        mix(w);
    }
    return std::size_t(h);
}

TFilterMemo::Pass TFilterMemo::passOf(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude,
                                      bool sorted, uint64_t input)
{
    Pass p{.Kind = &stat.Kind(), .Param = stat.Param(), .Exclude = exclude, .Sorted = sorted, .Input = input, .Keys = {}};
    p.Keys.reserve(std::size_t(marked.Count()));
    for (int i = 0; i < marked.Values().Count(); ++i) p.Keys.push_back(marked.Values()[i].Key);
    // A combination passes when it shows any of the values: the same values marked in another
    // order (another window's table) are the same pass.
    std::sort(p.Keys.begin(), p.Keys.end());
    return p;
}

TFilterMemo::MethodUse& TFilterMemo::use(const stats::TCustomStat& stat)
{
    for (MethodUse& m : m_methods)
        if (m.Kind == &stat.Kind() && m.Param == stat.Param()) return m;
    return m_methods.emplace_back(MethodUse{.Kind = &stat.Kind(), .Param = stat.Param()});
}

uint64_t TFilterMemo::NewId()
{
    if (m_nextId <= TCombList::FullSetId) m_nextId = TCombList::FullSetId + 1;
    return m_nextId++;
}

TFilterMemo::Answer TFilterMemo::Find(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude,
                                      bool sorted, uint64_t input)
{
    if (input == 0 || !Applies(stat)) return {};
    const auto named = m_names.find(passOf(stat, marked, exclude, sorted, input));
    if (named == m_names.end()) return {};
    for (Entry& e : m_entries) {
        if (e.Id != named->second) continue;
        e.Used = ++m_clock;
        ++m_hits;
        ++use(stat).Hits;
        return {e.Id, e.Output};
    }
    return {named->second, nullptr};
}

uint64_t TFilterMemo::Store(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude, bool sorted,
                            uint64_t input, TCombList& list)
{
    if (input == 0 || !Applies(stat)) return 0;
    if (m_names.size() >= MaxNames) m_names.clear();
    const Pass pass = passOf(stat, marked, exclude, sorted, input);
    const auto known = m_names.find(pass);
    const uint64_t id = known != m_names.end() ? known->second : m_names.emplace(pass, NewId()).first->second;

    MethodUse& u = use(stat);
    if (u.Stored >= TrialStores && u.Hits * 4 < u.Stored) return id;
    for (const Entry& e : m_entries)
        if (e.Id == id) return id;
    ++u.Stored;
    Entry* e = nullptr;
    if (m_entries.size() < MaxEntries) {
        e = &m_entries.emplace_back();
    } else {
        e = &*std::min_element(m_entries.begin(), m_entries.end(),
                               [](const Entry& a, const Entry& b) { return a.Used < b.Used; });
    }
    e->Id = id;
    // A list that still shows an entry's content keeps it; the entry then takes new storage,
    // with room for any list, as the lists it is exchanged with have.
    if (!e->Output || e->Output.use_count() > 1) {
        e->Output = std::make_shared<game::TCombsArray>();
        e->Output->reserve(std::size_t(game::CombCount));
    }
    list.HandOver(e->Output, id);
    e->Used = ++m_clock;
    return id;
}

// --- the filter pass ------------------------------------------------------------------------------

bool FilterCombs(stats::TCustomStat& stat, std::string_view caption, const TMarkedValues& marked, bool exclude,
                 const TFilterScope& scope)
{
    shell::BusyScope busy(scope.Shell, "Фильтрация комбинаций...");
    if (marked.Empty()) return false;

    TCombList& combs = scope.Combs;
    try {
        const std::span<const TComb> undo = combs.UndoCombs();
        const uint64_t input = combs.UndoContentId();
        game::TCombsArray& out = combs.Refill();
        if (undo.empty()) {
            combs.NotifyChanged();
            return false;
        }

        if (scope.Memo) {
            if (const TFilterMemo::Answer known = scope.Memo->Find(stat, marked, exclude, scope.Sorted, input);
                known.List) {
                combs.Share(known.List, known.Id);
                scope.History.Append(std::string(caption), marked.Text(), combs.Count(),
                                     exclude ? THistoryKind::Delete : THistoryKind::Keep);
                combs.NotifyChanged();
                return true;
            }
        }

        // D kinds compare every combination with the latest draw in use.
        const int last = LatestDrawInUse(scope.Draws, scope.DrawsOffset);
        stat.LoadDraws(-1, last, scope.Sorted);
        std::vector<uint8_t>& match = matchBuffer();
        stat.MatchCombs(undo, marked.Values(), {.LastIndex = last, .Sorted = scope.Sorted, .Exclude = exclude}, match);

        // Cut straight from the undo copy: copying the list first and cutting it in place read
        // and wrote it once more.
        const std::size_t total = undo.size();
        AppendKept(out, undo, match.data(), !exclude);
        const std::size_t kept = out.size();
        // A pass only takes combinations away: one that took none left the very list it was given.
        if (kept == total) combs.SetContentId(input);
        else if (scope.Memo) combs.SetContentId(scope.Memo->Store(stat, marked, exclude, scope.Sorted, input, combs));

        scope.History.Append(std::string(caption), marked.Text(), combs.Count(),
                             exclude ? THistoryKind::Delete : THistoryKind::Keep);
    } catch (...) {
        combs.NotifyChanged();
        throw;
    }
    combs.NotifyChanged();
    return true;
}

bool FilterCombs(const stats::TStatList& list, int method, std::string_view caption, const TMarkedValues& marked,
                 bool exclude, const TFilterScope& scope)
{
    const std::unique_ptr<stats::TCustomStat> stat = list.CreateStat(method);
    return FilterCombs(*stat, caption, marked, exclude, scope);
}

// --- number views -------------------------------------------------------------------------------------

std::string_view NumberViewCaption(TNumberView view)
{
    switch (view) {
    case TNumberView::Card: return "Карта";
    case TNumberView::Layout: return "Схема";
    case TNumberView::Week: return "Неделя";
    }
    return {};
}

std::vector<int> CardCellNumbers(std::span<const std::string> cells)
{
    std::vector<int> numbers;
    for (const std::string& cell : cells)
        if (!game::TrimText(cell).empty()) numbers.push_back(StrictInt(cell));
    return numbers;
}

std::vector<int> LayoutCellNumbers(std::span<const std::string> cells)
{
    std::vector<int> numbers;
    for (const std::string& cell : cells) {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t comma = cell.find(',', pos);
            std::string word = cell.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            std::erase_if(word, [](char c) { return c == '[' || c == ']'; });
            if (!game::TrimText(word).empty()) numbers.push_back(StrictInt(word));
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
    }
    return numbers;
}

void NumberFilter(const stats::TStatList& list, TNumberView view, std::span<const int> numbers, bool exclude,
                  const TFilterScope& scope)
{
    TMarkedValues marked;
    for (int n : numbers) marked.AddNumber(n);
    if (marked.Empty()) throw Error("В выделенном диапазоне нет значений для фильтра!");
    const std::unique_ptr<stats::TCustomStat> stat = createNums(list);
    FilterCombs(*stat, NumberViewCaption(view), marked, exclude, scope);
}

} // namespace kv::filters
