#include "core/filters/filterhint.h"

#include "core/stats/stattable.h"
#include "core/util/format.h"

namespace kv::filters {

std::string FilterItemHint(const TFilterItem& item, const stats::TStatList& list)
{
    if (!item.Defined) return {};
    std::string s = "Метод: ";
    std::string draws = item.DrawsText;
    if (item.Method >= 0 && item.Method < list.MethodCount()) {
        s += list.GetDisplayName(item.Method, false);
    } else {
        // A statistic this program does not know keeps its section as read: code ":" draws.
        const std::size_t colon = item.StatText.find(':');
        s += item.StatText.substr(0, colon) + " (неизвестный метод)";
        if (colon != std::string::npos) draws = item.StatText.substr(colon + 1);
    }
    s += "\nТиражей: " + draws;
    const char* column = stats::StatColumnCaption(item.SortColumn);
    s += util::Format("\nСортировка: по столбцу «%s», %s", {*column ? column : std::to_string(item.SortColumn).c_str(),
                                                             item.BottomUp ? "снизу вверх" : "сверху вниз"});
    s += item.MultiSelect ? "\nВыделяются: все подходящие строки" : "\nВыделяется: одна строка за шаг";
    s += item.KeepSelected ? "\nКомбинации выделенных строк: оставить" : "\nКомбинации выделенных строк: удалить";
    s += "\nУсловие: " + std::string(ConditionCaption(item.Condition));
    if (!item.ConditionText.empty()) s += " — " + item.ConditionText;
    s += "\nОстановка по: " + std::string(StopModeCaption(item.StopMode));
    if (item.StopMode != StopAll) s += " — " + std::to_string(item.StopValue);
    if (item.OverrideWeights)
        s += util::Format("\nСвои коэффициенты веса: количество %g, отклонение %g, глубина %g",
                          {item.Weights.CoefCount, item.Weights.CoefDeviation, item.Weights.CoefDepth});
    return s;
}

} // namespace kv::filters
