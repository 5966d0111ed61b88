#include "core/analysis/weekstat.h"

#include <cmath>

#include "core/game/dates.h"
#include "core/shell/shell.h"

namespace kv::analysis {

int WeekdayIndex(game::TDateTime t)
{
    // Day 0 (30.12.1899) was a Saturday.
    const auto day = static_cast<int64_t>(std::floor(t));
    return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

int TWeekStat::Count(int number, int weekday) const
{
    if (number < game::MinNumber || number > game::MaxNumber || weekday < 0 || weekday >= WeekDays) return 0;
    return Counts[static_cast<std::size_t>(number - 1)][static_cast<std::size_t>(weekday)];
}

std::string TWeekStat::CellText(int number, int weekday) const
{
    const int c = Count(number, weekday);
    return c > 0 ? std::to_string(c) : std::string();
}

TWeekStat CountWeek(const game::TDrawsArray& draws, const TDrawWindow& window)
{
    TWeekStat stat;
    for (int i = window.First; i <= window.Last; ++i) {
        const game::TDraw& d = draws[static_cast<std::size_t>(i)];
        game::TDateTime t = 0;
        try {
            t = game::DrawTextToDateTime(d.DateText());
        } catch (const std::exception&) {
            continue;   // an unreadable date: the draw has no weekday
        }
        if (t == 0) continue;   // no date
        const auto day = static_cast<std::size_t>(WeekdayIndex(t));
        uint32_t seen = 0;
        for (uint8_t n : d.Nums) {
            if (n < game::MinNumber || n > game::MaxNumber || (seen >> n & 1u)) continue;
            seen |= 1u << n;
            int& c = stat.Counts[n - 1u][day];
            if (++c > stat.Max) stat.Max = c;
        }
    }
    return stat;
}

bool WeekCellColor(int count, int max, uint32_t& rgb)
{
    if (count <= 0 || max <= 0) return false;
    const auto gb = static_cast<uint32_t>(std::nearbyint(255.0 - count * 255.0 / max));
    rgb = 0xFF0000u | gb << 8 | gb;
    return true;
}

uint32_t ReadableTextColor(uint32_t background)
{
    const double r = background >> 16 & 0xFF, g = background >> 8 & 0xFF, b = background & 0xFF;
    return 0.299 * r + 0.587 * g + 0.114 * b < 128 ? 0xFFFFFFu : 0x000000u;
}

std::vector<int> WeekChartValues(const TWeekStat& stat, TWeekChartMode mode, int number, int weekday)
{
    std::vector<int> values;
    if (mode == TWeekChartMode::Weekdays)
        for (int d = 0; d < WeekDays; ++d) values.push_back(stat.Count(number, d));
    else
        for (int n = game::MinNumber; n <= game::MaxNumber; ++n) values.push_back(stat.Count(n, weekday));
    return values;
}

bool TWeekView::Build(const game::TDrawsArray& draws, int offset, int length, shell::Shell& shell, bool force)
{
    const int count = static_cast<int>(draws.size());
    if (!m_memory.NeedsBuild({.Count = count, .Offset = offset, .Length = length, .Archive = ArchiveStamp(draws)},
                             force))
        return false;
    shell::BusyScope busy(shell, StatusText);
    m_stat = CountWeek(draws, DrawWindow(count, offset, length));
    return true;
}

} // namespace kv::analysis
