#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/buildmemory.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::analysis {

constexpr int WeekDays = 7;

// 0 for Monday .. 6 for Sunday.
int WeekdayIndex(game::TDateTime t);

// How often each number came on each weekday in a window; draws without a readable date are
// left out.
struct TWeekStat {
    std::array<std::array<int, WeekDays>, game::MaxNumber> Counts{};   // [number - 1][weekday]
    int Max = 0;
    int Count(int number, int weekday) const;
    // "" for 0.
    std::string CellText(int number, int weekday) const;
};
TWeekStat CountWeek(const game::TDrawsArray& draws, const TDrawWindow& window);

// A data cell's background: white for small counts to pure red for the largest; nothing (plain)
// for an empty cell or a table without counts.
bool WeekCellColor(int count, int max, uint32_t& rgb);
// The colour a number is written in on that background: white where black would not stand out
// (the darkest reds, perceived brightness below one half), else black.
uint32_t ReadableTextColor(uint32_t background);

// The chart of the current cell: by weekdays (mode 1) the number's 7 counts, Monday first;
// otherwise the weekday's 20 counts, number 1 first.
enum class TWeekChartMode { Numbers = 0, Weekdays = 1 };
std::vector<int> WeekChartValues(const TWeekStat& stat, TWeekChartMode mode, int number, int weekday);

// The tab "Неделя" with the memory of its last build.
class TWeekView {
public:
    static constexpr const char* StatusText = "Построение статистики по дням недели...";

    // Unless forced nothing happens when the archive, offset and length are those of the last
    // build; returns whether the table changed.
    bool Build(const game::TDrawsArray& draws, int offset, int length, shell::Shell& shell, bool force);
    const TWeekStat& Stat() const { return m_stat; }

private:
    TBuildMemory m_memory;
    TWeekStat m_stat;
};

} // namespace kv::analysis
