#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/game/types.h"
#include "core/stats/drawinfo.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/statlist.h"

using namespace kv;
using namespace kv::stats;
using game::TComb;
using game::TDraw;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

struct Fixture {
    game::TDrawsArray draws;
    TStatList list;
    Fixture()
    {
        // The extra number comes from the archive position, not from the given numbers.
        for (int i = 0; i < 3; ++i) {
            TDraw d;
            d.DrawNo = 500 + i;
            d.Nums = {1, 2, 3, 4, 5, 6, 7, 8};
            d.Extra = static_cast<uint8_t>(2 + i);
            draws.push_back(d);
        }
        list.SetDraws(&draws);
        std::vector<const TStatKind*> kinds;
        kinds::AddNumberKinds(kinds);
        list.BuildMethodList(kinds);
    }
};

// 15, 3, 9, 20, 1, 12, 7, 18: even 20, 12, 18; up to 10: 3, 9, 1, 7; prime class 3, 1, 7.
const TComb Numbers = {15, 3, 9, 20, 1, 12, 7, 18};

Rows Methods(const std::vector<int>& positions, int extra)
{
    Rows r = {{"Количество четных чисел в тираже (Ч:Н)", "3"},
              {"Количество чисел из первой половины диапазона (1П:2П)", "4"},
              {"Количество простых чисел (П:С)", "3"}};
    for (int p = 1; p <= 8; ++p)
        r.emplace_back("Число в " + std::to_string(p) + " позиции тиража", std::to_string(positions[std::size_t(p - 1)]));
    r.emplace_back("Extra (Bonus, Star...) - число (!без фильтра!)", std::to_string(extra));
    return r;
}

Rows Concat(Rows head, const Rows& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

TEST(DrawInfo, RowsOfTheChartedMethods)
{
    const std::vector<int> drawn = {15, 3, 9, 20, 1, 12, 7, 18};
    const std::vector<int> ascending = {1, 3, 7, 9, 12, 15, 18, 20};
    struct Case {
        const char* name;
        bool sorted;
        int position;
        std::optional<int> drawNo;
        std::optional<std::string> date;
        Rows want;
    };
    const Case cases[] = {
        {"draw, unsorted", false, 1, 501, "02.03.2021",
         Concat({{"Номер тиража:", "501"}, {"Дата тиража:", "02.03.2021"}}, Methods(drawn, 3))},
        {"draw, sorted", true, 2, 502, "03.03.2021",
         Concat({{"Номер тиража:", "502"}, {"Дата тиража:", "03.03.2021"}}, Methods(ascending, 4))},
        {"date only", false, 0, std::nullopt, "01.03.2021",
         Concat({{"Дата тиража:", "01.03.2021"}}, Methods(drawn, 2))},
        {"combination", true, 2, std::nullopt, std::nullopt, Methods(ascending, 4)},
        {"empty date text is still a row", false, 0, 7, "", Concat({{"Номер тиража:", "7"}, {"Дата тиража:", ""}},
                                                                 Methods(drawn, 2))},
    };
    for (const Case& c : cases) {
        Fixture f;
        EXPECT_EQ(DrawInfoRows(f.list, Numbers, c.position, c.sorted, c.drawNo, c.date), c.want) << c.name;
    }
}
