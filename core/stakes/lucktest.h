#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"
#include "core/stakes/prizetable.h"
#include "core/stakes/ratings.h"

namespace kv::stakes {

class TStakesFile;

// Could a rating row's result be luck? For every draw the row's stakes were checked against,
// the draw is replaced by a random one (8 of 20, every ticket equally likely), the same stakes
// are evaluated with the prize table, and this is repeated Draws times: the p values are the
// shares of repetitions whose total hits (profit) reached the observed total. A small p says
// that random draws rarely do as well.

// The stakes of a row checked against one draw: the draw's numbers and the stakes as bit sets
// (bit n for number n).
struct TLuckGroup {
    uint32_t Draw = 0;
    std::vector<uint32_t> Stakes;
};

struct TLuckSettings {
    int Draws = 10000;       // R: random draws per real draw
    uint64_t Seed = 20;      // the same seed gives the same p values
};

struct TLuckResult {
    int64_t Hits = 0;             // observed total hits
    util::Currency Profit;        // observed total profit
    double PHits = 1;             // share of repetitions with at least Hits
    double PProfit = 1;           // share with at least Profit
    int Stakes = 0;
    bool Cancelled = false;
};

// The stakes of the file that the rating row `name` collects (checked stakes of 8 numbers whose
// comment equals the name, case-insensitive), grouped by draw in file order.
std::vector<TLuckGroup> LuckGroups(TStakesFile& file, std::string_view name);

// The test; `progress` (done, total) is called now and then and ends the work by returning false
// (the result is then Cancelled).
TLuckResult LuckTest(const std::vector<TLuckGroup>& groups, const TPrizeTable& prizes, const TLuckSettings& settings,
                     const std::function<bool(int done, int total)>& progress = {});

// The p values the rating view has computed, kept for a row while its counters stay as they
// were (a check that adds stakes to the row makes it ask again); sorting keeps them.
class TLuckCache {
public:
    const TLuckResult* Find(const TRatingRecord& row) const;
    void Store(const TRatingRecord& row, const TLuckResult& result);
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        std::string Key;   // the name in upper case
        int32_t StakeCount = 0, HitSum = 0;
        int64_t ProfitSum = 0;
        TLuckResult Result;
    };
    std::vector<Entry> m_entries;
};

// The text of a p value in the rating view: "%.4f", "< 0.0001" below the resolution of R draws.
std::string LuckPText(double p, int draws);
// The captions of the two p columns after the rating's own.
inline constexpr const char* LuckHitsCaption = "p (совпадения)";
inline constexpr const char* LuckProfitCaption = "p (профит)";

} // namespace kv::stakes
