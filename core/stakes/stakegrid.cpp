#include "core/stakes/stakegrid.h"
#include "core/util/translate.h"

#include <algorithm>

#include "core/game/texts.h"
#include "core/util/format.h"

namespace kv::stakes {

namespace {

constexpr const char* Captions[StakeGridColumnCount] = {
    "№ тиража", "Вид ставки", "Моя ставка", "Выборка", "Результаты тиража",
    "Совпадений", "Совпадения", "Профит", "Комментарий",
};
constexpr int Widths[StakeGridColumnCount] = {60, 60, 120, 60, 120, 60, 60, 60, 1000};

bool validColumn(int column)
{
    return column >= 0 && column < StakeGridColumnCount;
}

} // namespace

const char* StakeGridCaption(int column)
{
    return validColumn(column) ? util::TrText(Captions[column]) : "";
}

int StakeGridWidth(int column)
{
    return validColumn(column) ? Widths[column] : 0;
}

TCellAlign StakeGridAlign(int column)
{
    if (column == 7) return TCellAlign::Right;
    if (column == 8) return TCellAlign::Left;
    return TCellAlign::Center;
}

std::string StakeCellText(const TStakeRecord& stake, int column)
{
    if (!stake.IsStake()) return {};
    const bool checked = stake.Checked != 0;
    if (stake.IsDamaged()) {
        if (column == 0) return std::to_string(stake.DrawNo);
        if (column == 2) return DamagedStakeText;
        if (column == 8) return stake.Comment;
        return {};
    }
    switch (column) {
    case 0: return std::to_string(stake.DrawNo);
    case 1: return util::TrText(game::StakeOriginCaption(stake.Origin).c_str());
    case 2: return game::NumSetToText(stake.Stake, ";");
    case 3: return std::to_string(stake.SampleSize);
    case 4: return checked ? game::CombToText(stake.DrawNums) : std::string();
    case 5: return checked ? std::to_string(stake.Matched.Count) : std::string();
    case 6: return checked ? game::NumSetToText(stake.Matched, " ") : std::string();
    case 7: return util::Format("%.2f", {stake.Profit.ToDouble()});
    case 8: return stake.Comment;
    }
    return {};
}

std::optional<uint32_t> StakeRowColor(uint8_t origin)
{
    switch (origin) {
    case OriginManual: return 0xEAFFEA;
    case OriginRegular: return 0xFFEAEA;
    case OriginScenario: return 0xEAFFFF;
    case OriginSystem: return 0xFCFDD9;
    }
    return std::nullopt;
}

bool IsMatchedNumber(const TStakeRecord& stake, uint8_t number)
{
    const int count = std::clamp<int32_t>(stake.Matched.Count, 0, game::NumsPerDraw);
    for (int i = 0; i < count; ++i)
        if (stake.Matched.Nums[i] == number) return true;
    return false;
}

std::vector<TStakeNumber> StakeCellNumbers(const TStakeRecord& stake, int column)
{
    std::vector<TStakeNumber> r;
    if (!stake.IsStake() || stake.IsDamaged()) return r;
    if (column == 2) {
        const int count = std::clamp<int32_t>(stake.Stake.Count, 0, game::NumsPerDraw);
        for (int i = 0; i < count; ++i) r.push_back({stake.Stake.Nums[i], IsMatchedNumber(stake, stake.Stake.Nums[i])});
    } else if (column == 4 && stake.Checked != 0) {
        for (uint8_t n : stake.DrawNums) r.push_back({n, IsMatchedNumber(stake, n)});
    }
    return r;
}

std::optional<uint32_t> StakeResultColor(const TStakeRecord& stake, int column)
{
    if (!stake.IsStake() || stake.IsDamaged() || stake.Checked == 0 || column < 5 || column > 7) return std::nullopt;
    return stake.Profit.raw > 0 ? WinColor : LossColor;
}

std::string StakesCountText(int records)
{
    return util::Format("Ставок: %d", {records});
}

TStakeViewPlan PlanStakeViewRefresh(int gridRows, int records, bool refresh, bool goToLast, bool tabVisible)
{
    TStakeViewPlan plan;
    if (records <= 0) {
        // An empty file still shows one empty row under the header.
        plan.SetRowCount = true;
        plan.RowCount = 2;
        plan.SelectRow = 1;
        plan.Repaint = true;
        plan.ShowCount = true;
        return plan;
    }
    const bool changed = (refresh || goToLast) && gridRows != records + 1;
    if (changed) {
        plan.SetRowCount = true;
        plan.RowCount = records + 1;
        plan.ShowCount = true;
    }
    if (goToLast) plan.SelectRow = records;
    if (refresh && tabVisible && !changed) plan.Repaint = true;
    return plan;
}

} // namespace kv::stakes
