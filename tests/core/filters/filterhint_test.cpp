#include "core/filters/filterhint.h"

#include <gtest/gtest.h>


namespace kv::filters {
namespace {

TEST(FilterItemHint, NamesEveryFieldOfTheParsedFilter)
{
    game::TDrawsArray draws;
    stats::TStatList list;
    list.SetDraws(&draws);
    list.BuildMethodList();
    const int nums = list.FindMethod("NUMS");
    ASSERT_GE(nums, 0);
    EXPECT_EQ(FilterItemHint(TextToFilterItem("TSD1#NUMS:200#LMV:3#SF:1", list), list),
              "Метод: " + list.GetDisplayName(nums, false) +
                  "\nТиражей: 200\nСортировка: по столбцу «Количество», сверху вниз"
                  "\nВыделяется: одна строка за шаг\nКомбинации выделенных строк: удалить"
                  "\nУсловие: \"Глубина\": не менее заданного значения — 3\nОстановка по: Обработать все записи");
    const std::string other = FilterItemHint(TextToFilterItem("BMF6#ZZZZ:5, 10#LNO:#SC:500#1.5:0.5:1:0:1", list), list);
    EXPECT_NE(other.find("Метод: ZZZZ (неизвестный метод)\nТиражей: 5, 10\n"), std::string::npos) << other;
    EXPECT_NE(other.find("по столбцу «Глубина», снизу вверх\nВыделяются: все подходящие строки\nКомбинации выделенных строк: оставить"),
              std::string::npos) << other;
    EXPECT_NE(other.find("Остановка по: Количеству оставшихся комбинаций — 500\nСвои коэффициенты веса: количество 1.5, "
                         "отклонение 0.5, глубина 1"), std::string::npos) << other;
    EXPECT_EQ(FilterItemHint(TFilterItem{}, list), "");
}

} // namespace
} // namespace kv::filters
