#include "core/filters/filteritem.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::filters {

namespace {

// What a condition tests: which text of the row, and how.
enum class Field { None, Depth, DepthPct, Deviation, DeviationPct, Count, CountPct, Weight, PeriodMin, Period, PeriodMax, Value };
enum class Test { Always, AtLeast, AtMost, InList };

struct Condition {
    const char* Code;
    const char* Caption;
    Field What;
    Test How;
};

const Condition Conditions[FilterConditionCount] = {
    {"LNO", "Весь список (без условий)", Field::None, Test::Always},
    {"LMV", "\"Глубина\": не менее заданного значения", Field::Depth, Test::AtLeast},
    {"LMP", "\"Глубина\": не менее заданного процента", Field::DepthPct, Test::AtLeast},
    {"LLV", "\"Глубина\": не более заданного значения", Field::Depth, Test::AtMost},
    {"LLP", "\"Глубина\": не более заданного процента", Field::DepthPct, Test::AtMost},
    {"LDV", "\"Глубина\": из заданного списка значений", Field::Depth, Test::InList},
    {"LDP", "\"Глубина\": из заданного списка процентов", Field::DepthPct, Test::InList},
    {"DMV", "\"Отклонение\": не менее заданного значения", Field::Deviation, Test::AtLeast},
    {"DMP", "\"Отклонение\": не менее заданного процента", Field::DeviationPct, Test::AtLeast},
    {"DLV", "\"Отклонение\": не более заданного значения", Field::Deviation, Test::AtMost},
    {"DLP", "\"Отклонение\": не более заданного процента", Field::DeviationPct, Test::AtMost},
    {"DDV", "\"Отклонение\": из заданного списка значений", Field::Deviation, Test::InList},
    {"DDP", "\"Отклонение\": из заданного списка процентов", Field::DeviationPct, Test::InList},
    {"CMV", "\"Количество\": не менее заданного значения", Field::Count, Test::AtLeast},
    {"CMP", "\"Количество\": не менее заданного процента", Field::CountPct, Test::AtLeast},
    {"CLV", "\"Количество\": не более заданного значения", Field::Count, Test::AtMost},
    {"CLP", "\"Количество\": не более заданного процента", Field::CountPct, Test::AtMost},
    {"CDV", "\"Количество\": из заданного списка значений", Field::Count, Test::InList},
    {"CDP", "\"Количество\": из заданного списка процентов", Field::CountPct, Test::InList},
    {"WMV", "\"Вес\": не менее заданного значения", Field::Weight, Test::AtLeast},
    {"WLV", "\"Вес\": не более заданного значения", Field::Weight, Test::AtMost},
    {"WDV", "\"Вес\": из заданного списка значений", Field::Weight, Test::InList},
    {"PIM", "\"Период min\": не менее заданного значения", Field::PeriodMin, Test::AtLeast},
    {"PIL", "\"Период min\": не более заданного значения", Field::PeriodMin, Test::AtMost},
    {"PIR", "\"Период min\": из заданного списка значений", Field::PeriodMin, Test::InList},
    {"PAM", "\"Период\": не менее заданного значения", Field::Period, Test::AtLeast},
    {"PAL", "\"Период\": не более заданного значения", Field::Period, Test::AtMost},
    {"PAR", "\"Период\": из заданного списка значений", Field::Period, Test::InList},
    {"PXM", "\"Период max\": не менее заданного значения", Field::PeriodMax, Test::AtLeast},
    {"PXL", "\"Период max\": не более заданного значения", Field::PeriodMax, Test::AtMost},
    {"PXR", "\"Период max\": из заданного списка значений", Field::PeriodMax, Test::InList},
    {"LVA", "\"Значения\": из заданного списка значений", Field::Value, Test::InList},
};

struct StopModeInfo {
    const char* Code;
    const char* Caption;
};
const StopModeInfo StopModes[StopModeCount] = {
    {"SF", "Обработать все записи"},
    {"SC", "Количеству оставшихся комбинаций"},
    {"SZ", "Пока список не будет пуст и откатить на шаг"},
    {"ST", "Количеству шагов"},
    {"SV", "Значению в списке статистики"},
    {"SP", "Процентному соотношению в списке статистики"},
};

constexpr const char* BadRangeText = "Введен некорректный диапазон значений!";
constexpr const char* NoValueListText =
    "Для данного вида статистики не доступен режим выделения по списку значений!";
constexpr const char* MultiSelectStopText =
    "В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может быть "
    "выполнена!\nВыберите другой способ останова.";
constexpr const char* TooManyVariantsText =
    "Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\n"
    "Пожалуйста, уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, а затем "
    "повторите попытку.";

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.empty() || text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (asciiUpper(text[i]) != asciiUpper(prefix[i])) return false;
    return true;
}

// The trimmed text after the first ":"; empty without one.
std::string afterColon(std::string_view section)
{
    const std::size_t colon = section.find(':');
    if (colon == std::string_view::npos) return {};
    return std::string(game::TrimText(section.substr(colon + 1)));
}

std::vector<std::string_view> split(std::string_view text, char sep)
{
    std::vector<std::string_view> words;
    for (std::size_t pos = 0;;) {
        const std::size_t end = text.find(sep, pos);
        words.push_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        if (end == std::string_view::npos) return words;
        pos = end + 1;
    }
}

bool validMethod(int method, const stats::TStatList& list) { return method >= 0 && method < list.MethodCount(); }

// Sections 1, 3, 4 and 5, shared by items and parts; `stat` is section 2.
std::string joinSections(bool bottomUp, bool multiSelect, bool keepSelected, int32_t sortColumn, const std::string& stat,
                         int condition, const std::string& conditionText, int stopMode, int32_t stopValue,
                         bool overrideWeights, const stats::TWeightCoefs& w)
{
    std::string s;
    s += bottomUp ? 'B' : 'T';
    s += multiSelect ? 'M' : 'S';
    s += keepSelected ? 'F' : 'D';
    s += std::to_string(sortColumn);
    s += '#';
    s += stat;
    s += '#';
    // A condition outside the table matches every row, as the first one does.
    s += condition >= 0 && condition < FilterConditionCount ? Conditions[condition].Code : Conditions[0].Code;
    s += ':';
    s += conditionText;
    s += '#';
    s += stopMode >= 0 && stopMode < StopModeCount ? StopModes[stopMode].Code : StopModes[0].Code;
    s += ':';
    s += std::to_string(stopValue);
    if (overrideWeights) {
        // Scenario files travel between machines: never the user's decimal separator here.
        s += util::FormatSep('.', "#%.15g:%.15g:%.15g", {w.CoefCount, w.CoefDeviation, w.CoefDepth});
        s += w.UsePercents ? ":1" : ":0";
        s += w.UseAbsolute ? ":1" : ":0";
    }
    return s;
}

// --- row tests -----------------------------------------------------------------------------------

const std::string& rowText(const stats::TStatValues& row, Field f)
{
    switch (f) {
    case Field::Depth: return row.Depth;
    case Field::DepthPct: return row.DepthPct;
    case Field::Deviation: return row.Deviation;
    case Field::DeviationPct: return row.DeviationPct;
    case Field::Count: return row.Count;
    case Field::CountPct: return row.CountPct;
    case Field::Weight: return row.Weight;
    case Field::PeriodMin: return row.PeriodMin;
    case Field::Period: return row.Period;
    case Field::PeriodMax: return row.PeriodMax;
    case Field::None:
    case Field::Value: break;
    }
    static const std::string none;
    return none;
}

bool isIntegerField(Field f)
{
    return f == Field::Depth || f == Field::Deviation || f == Field::Count || f == Field::PeriodMin
        || f == Field::PeriodMax || f == Field::Value;
}

// A row text in an at-least or at-most test; a text that is not a number ("-") reads as
// `otherwise`.
long double lenientRowNumber(const std::string& text, bool integer, long double otherwise)
{
    if (integer) {
        int32_t v = 0;
        return game::TryTextToInt(text, v) ? static_cast<long double>(v) : otherwise;
    }
    double v = 0;
    return util::TryParseFloat(text, v) && std::isfinite(v) ? static_cast<long double>(v) : otherwise;
}

} // namespace

// --- tables ----------------------------------------------------------------------------------------

std::string_view ConditionCode(int condition)
{
    return condition >= 0 && condition < FilterConditionCount ? Conditions[condition].Code : "";
}

std::string_view ConditionCaption(int condition)
{
    return condition >= 0 && condition < FilterConditionCount ? Conditions[condition].Caption : "";
}

std::string_view StopModeCode(int mode) { return mode >= 0 && mode < StopModeCount ? StopModes[mode].Code : ""; }

std::string_view StopModeCaption(int mode)
{
    return mode >= 0 && mode < StopModeCount ? StopModes[mode].Caption : "";
}

bool ConditionExpandsValues(int condition)
{
    return (condition >= 1 && condition <= 4) || (condition >= 7 && condition <= 10)
        || (condition >= 13 && condition <= 16) || (condition >= 19 && condition <= 30);
}

bool ConditionUsesWeights(int condition) { return condition >= 19 && condition <= 21; }

// --- text forms ----------------------------------------------------------------------------------------

std::string FilterItemToText(const TFilterItem& item, const stats::TStatList& list)
{
    if (!item.Defined) return {};
    const std::string stat =
        validMethod(item.Method, list) ? list.Method(item.Method).MethodCode() + ":" + item.DrawsText : item.StatText;
    return joinSections(item.BottomUp, item.MultiSelect, item.KeepSelected, item.SortColumn, stat, item.Condition,
                        item.ConditionText, item.StopMode, item.StopValue, item.OverrideWeights, item.Weights);
}

long double LenientFloat(std::string_view text)
{
    std::string kept;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (digit(c) || c == '-') kept += c;
        else if (c == '.' || c == ',') kept += '.';
        // The writer's "%g" puts large and small values in exponent form ("5e-05", "1e+16"):
        // an "E" between a number and its exponent is kept, with the exponent's sign.
        else if ((c == 'e' || c == 'E') && !kept.empty() && (digit(kept.back()) || kept.back() == '.')
                 && i + 1 < text.size() && (digit(text[i + 1]) || text[i + 1] == '-' || text[i + 1] == '+')) {
            kept += 'e';
            if (text[i + 1] == '+') ++i;
        }
    }
    if (kept.empty()) return 0;
    char* end = nullptr;
    const long double v = std::strtold(kept.c_str(), &end);
    if (end != kept.c_str() + kept.size() || !std::isfinite(v)) return 0;
    return v;
}

TFilterItem TextToFilterItem(std::string_view text, const stats::TStatList& list)
{
    TFilterItem item;
    if (text.empty()) return item;
    item.Defined = true;
    const std::vector<std::string_view> sections = split(text, '#');

    // Section 1: direction, mode, keep or delete, sort column.
    const std::string_view head = sections[0];
    int32_t column = 1;
    if (head.size() < 4 || !game::TryTextToInt(head.substr(3), column)) column = 1;
    item.SortColumn = column;
    item.BottomUp = head.find('B') != std::string_view::npos;
    item.MultiSelect = head.find('M') != std::string_view::npos;
    item.KeepSelected = head.find('F') != std::string_view::npos;

    // Section 2: statistic and draws lengths. A code followed by ":" (or ending the section)
    // wins over a mere prefix, so that "COL10:5" does not name COL1, which comes first in the
    // registry; without such a code the first prefix names the method as it always did.
    if (sections.size() > 1) {
        const std::string_view stat = sections[1];
        item.StatText = std::string(stat);
        int prefixMatch = -1;
        for (int i = 0; i < list.MethodCount() && item.Method < 0; ++i) {
            const std::string code = list.Method(i).MethodCode();
            if (!startsWithNoCase(stat, code)) continue;
            if (stat.size() == code.size() || stat[code.size()] == ':') item.Method = i;
            else if (prefixMatch < 0) prefixMatch = i;
        }
        if (item.Method < 0) item.Method = prefixMatch;
        if (item.Method >= 0) item.DrawsText = afterColon(stat);
    }

    // Section 3: selection condition.
    if (sections.size() > 2) {
        const std::string_view cond = sections[2];
        for (int c = 0; c < FilterConditionCount; ++c) {
            if (startsWithNoCase(cond, Conditions[c].Code)) {
                item.Condition = static_cast<uint8_t>(c);
                break;
            }
        }
        item.ConditionText = afterColon(cond);
    }

    // Section 4: stop mode.
    if (sections.size() > 3) {
        const std::string_view stop = sections[3];
        for (int m = 0; m < StopModeCount; ++m) {
            if (startsWithNoCase(stop, StopModes[m].Code)) {
                item.StopMode = static_cast<uint8_t>(m);
                break;
            }
        }
        int32_t value = 1;
        if (!game::TryTextToInt(afterColon(stop), value)) value = 1;
        item.StopValue = value;
    }

    // Section 5: own weight coefficients.
    if (sections.size() > 4) {
        item.OverrideWeights = true;
        const std::vector<std::string_view> words = split(sections[4], ':');
        const auto word = [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view(); };
        item.Weights.CoefCount = LenientFloat(word(0));
        item.Weights.CoefDeviation = LenientFloat(word(1));
        item.Weights.CoefDepth = LenientFloat(word(2));
        item.Weights.UsePercents = word(3) == "1";
        item.Weights.UseAbsolute = word(4) == "1";
    }
    return item;
}

std::string FilterPartToText(const TFilterPart& part, const stats::TStatList& list)
{
    if (!part.Defined) return {};
    const std::string code = validMethod(part.Method, list) ? list.Method(part.Method).MethodCode() : part.StatCode;
    return joinSections(part.BottomUp, part.MultiSelect, part.KeepSelected, part.SortColumn,
                        code + ":" + std::to_string(part.DrawsLen), part.Condition, part.ConditionText,
                        part.StopMode, part.StopValue, part.OverrideWeights, part.Weights);
}

std::string FilterRecToText(const TFilterRec& rec, const stats::TStatList& list)
{
    std::string s;
    for (const TFilterPart& part : rec) {
        const std::string t = FilterPartToText(part, list);
        if (t.empty()) continue;
        if (!s.empty()) s += " + ";
        s += t;
    }
    return s;
}

// --- dialog rules ------------------------------------------------------------------------------------------

std::optional<TFilterRefusal> CheckFilterItem(const TFilterItem& item, const stats::TStatList& list)
{
    const game::TIntArray draws = game::ParseIntList(item.DrawsText);
    if (draws.empty() || (draws.size() == 1 && draws[0] == 0)) return TFilterRefusal{BadRangeText, TFilterField::Draws};
    if (item.Condition > 0) {
        if (item.Condition == 31
            && !(validMethod(item.Method, list) && list.Method(item.Method).Kind->HasNumericValue()))
            return TFilterRefusal{NoValueListText, TFilterField::Condition};
        if (game::ParseIntList(item.ConditionText).empty())
            return TFilterRefusal{BadRangeText, TFilterField::ConditionText};
    }
    if (item.MultiSelect && item.StopMode == StopCombCount)
        return TFilterRefusal{MultiSelectStopText, TFilterField::StopMode};
    return std::nullopt;
}

bool FilterFieldAccepts(char32_t key)
{
    return (key >= U'0' && key <= U'9') || key == U',' || key == U';' || key == U'-' || key < 0x20 || key == 0x7F;
}

// --- variants --------------------------------------------------------------------------------------------------

TFilterRec TFilterVar::build(const Choice& choice) const
{
    TFilterRec rec{};
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        TFilterPart& part = rec[i];
        part = item.Base;
        if (item.Values.empty()) {
            part.DrawsLen = item.Lens[choice[i]];
        } else {
            part.DrawsLen = item.Lens[choice[i] / item.Values.size()];
            part.ConditionValue = part.ConditionText = std::to_string(item.Values[choice[i] % item.Values.size()]);
        }
    }
    return rec;
}

TFilterRec TFilterVar::TakeFirst()
{
    if (m_vars.empty()) return TFilterRec{};
    TFilterRec rec = build(m_vars.front());
    m_vars.pop_front();
    return rec;
}

TFilterRec TFilterVar::At(int index) const
{
    if (index < 0 || index >= Count()) return TFilterRec{};
    return build(m_vars[std::size_t(index)]);
}

void TFilterVar::Clear()
{
    m_vars.clear();
    m_vars.shrink_to_fit();
}

TFilterVar ExpandFilterVariants(std::span<const TFilterItem> items, const stats::TStatList& list, bool& abort,
                                shell::Shell& shell, const std::function<void(const std::string&)>& progress)
{
    TFilterVar result;
    // A step holds seven slots; any item past them has no place in a record.
    const int n = static_cast<int>(std::min<std::size_t>(items.size(), FilterRecParts));
    if (n == 0) throw Error(util::Format("Некорректное описание фильтра: %s!", {""}));

    // Every item is read before any variant is made, which is when the depth-first walk would
    // first have reached each of them.
    result.m_items.resize(std::size_t(n));
    double total = 1;
    for (int i = 0; i < n; ++i) {
        const TFilterItem& item = items[std::size_t(i)];
        // A statistic this program does not know keeps its draws lengths in StatText: read them
        // there, so that the step fails where the statistic is needed, with the message that
        // names it, not here as a malformed description.
        const bool known = validMethod(item.Method, list);
        const game::TIntArray d = game::ParseIntList(known ? item.DrawsText : afterColon(item.StatText));
        game::TIntArray v;
        if (item.Condition != 0) v = game::ParseIntList(item.ConditionText);
        if (d.empty() || (item.Condition != 0 && v.empty()))
            throw Error(util::Format("Некорректное описание фильтра: %s!", {FilterItemToText(item, list)}));
        const bool each = ConditionExpandsValues(item.Condition);
        total *= static_cast<double>(d.size()) * static_cast<double>(each ? v.size() : 1);

        TFilterVar::Item& slot = result.m_items[std::size_t(i)];
        TFilterPart& base = slot.Base;
        base.Defined = true;
        base.Method = known ? item.Method : -1;
        base.StatCode = known ? list.Method(item.Method).MethodCode()
                              : std::string(item.StatText.substr(0, item.StatText.find(':')));
        base.SortColumn = item.SortColumn;
        base.BottomUp = item.BottomUp;
        base.MultiSelect = item.MultiSelect;
        base.KeepSelected = item.KeepSelected;
        base.Condition = item.Condition;
        base.OverrideWeights = item.OverrideWeights;
        base.Weights = item.Weights;
        base.StopMode = item.StopMode;
        base.StopValue = item.StopValue;
        if (!each) {
            base.ConditionText = item.ConditionText;
            base.ConditionValue = item.Condition == 0 ? item.ConditionText : game::IntListToText(v, ",");
        }
        slot.Lens = d;
        if (each) slot.Values = v;
    }

    try {
        if (total > MaxFilterVariants) {
            abort = true;
            shell.ShowFailure(TooManyVariantsText,
                              util::Format("Вариантов фильтров: %.0f, наибольшее допустимое количество: %d.",
                                           {total, MaxFilterVariants}));
            result = TFilterVar{};
            return result;
        }

        int made = 0;
        const auto report = [&] {
            const std::string text = util::Format("Создание всех вариантов фильтров ( %d )...", {made});
            if (progress) progress(text);
            else shell.SetStatusText(text);
            shell.ProcessEvents();
        };
        TFilterVar::Choice choice{};
        // Returns false once the abort flag stops the walk.
        const std::function<bool(int)> walk = [&](int depth) -> bool {
            const TFilterVar::Item& item = result.m_items[std::size_t(depth)];
            const std::size_t per = item.Values.empty() ? 1 : item.Values.size();
            for (std::size_t d = 0; d < item.Lens.size(); ++d) {
                if (abort) return false;
                for (std::size_t v = 0; v < per; ++v) {
                    choice[std::size_t(depth)] = static_cast<uint32_t>(d * per + v);
                    if (depth + 1 < n) {
                        if (!walk(depth + 1)) return false;
                    } else {
                        result.m_vars.push_back(choice);
                        if (++made % 1000 == 0) report();
                    }
                }
            }
            return true;
        };
        walk(0);
    } catch (const std::bad_alloc& e) {
        abort = true;
        result = TFilterVar{};
        shell.ShowFailure(TooManyVariantsText, e.what());
    }
    return result;
}

// --- row tests ------------------------------------------------------------------------------------------------

int32_t StrictInt(std::string_view text)
{
    int32_t v = 0;
    if (!game::TryTextToInt(text, v)) throw Error(util::Format("Некорректное целое число: \"%s\"!", {text}));
    return v;
}

double StrictFloat(std::string_view text)
{
    double v = 0;
    if (!util::TryParseFloat(text, v) || !std::isfinite(v))
        throw Error(util::Format("Некорректное число: \"%s\"!", {text}));
    return v;
}

int ConditionColumn(const TFilterPart& part)
{
    if (part.Condition >= FilterConditionCount) return -1;
    const Condition& c = Conditions[part.Condition];
    if (c.How == Test::Always) return -1;
    switch (c.What) {
    case Field::Count: return 1;
    case Field::CountPct: return 2;
    case Field::Deviation: return 4;
    case Field::DeviationPct: return 5;
    case Field::Depth: return 6;
    case Field::DepthPct: return 7;
    case Field::Weight: return 8;
    case Field::PeriodMin: return 10;
    case Field::Period: return 11;
    case Field::PeriodMax: return 12;
    case Field::None:
    case Field::Value: break;
    }
    return -1;
}

bool RowMatchesCondition(const TFilterPart& part, const stats::TStatValues& row)
{
    return TRowCondition(part).Matches(row);
}

TRowCondition::TRowCondition(const TFilterPart& part) : m_condition(part.Condition)
{
    if (m_condition >= FilterConditionCount) return;
    const Condition& c = Conditions[m_condition];
    m_always = c.How == Test::Always;
    if (m_always) return;
    try {
        if (c.How != Test::InList) {
            m_value = static_cast<long double>(StrictInt(part.ConditionValue));
            return;
        }
        const bool integer = isIntegerField(c.What);
        for (std::string_view w : split(part.ConditionValue, ',')) {
            for (std::string_view x : split(w, ';')) {
                const std::string_view word = game::TrimText(x);
                if (integer) m_integers.push_back(StrictInt(word));
                else m_numbers.push_back(StrictFloat(word));
            }
        }
    } catch (const Error& e) {
        m_failure = e.what();
    }
}

bool TRowCondition::Matches(const stats::TStatValues& row) const
{
    if (m_always) return true;
    const Condition& c = Conditions[m_condition];
    if (c.How == Test::InList) {
        // The row's text is read before the words, as the words' failure would otherwise hide
        // the row's.
        if (isIntegerField(c.What)) {
            const int64_t have = c.What == Field::Value ? int64_t(row.Value) : int64_t(StrictInt(rowText(row, c.What)));
            if (m_failure) throw Error(*m_failure);
            return std::find(m_integers.begin(), m_integers.end(), have) != m_integers.end();
        }
        const double have = StrictFloat(rowText(row, c.What));
        if (m_failure) throw Error(*m_failure);
        return std::find(m_numbers.begin(), m_numbers.end(), have) != m_numbers.end();
    }
    if (m_failure) throw Error(*m_failure);
    // "-" cells: the period and weight columns read as 0 either way; the others are kept out of
    // at-least tests by 0 and out of at-most tests by 65535.
    const bool zeroBoth = c.What == Field::Weight || c.What == Field::Period;
    const long double otherwise = c.How == Test::AtMost && !zeroBoth ? 65535.0L : 0.0L;
    const long double have = lenientRowNumber(rowText(row, c.What), isIntegerField(c.What), otherwise);
    return c.How == Test::AtLeast ? have >= m_value : have <= m_value;
}

} // namespace kv::filters
