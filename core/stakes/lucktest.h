#pragma once
#include <cstdint>
#include <functional>
#include <span>
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
//
// The random draw that replaces a draw depends only on the seed, the repetition and the draw's
// number. Rows tested together therefore meet the same random draws (the joint picture of
// "nothing works" that the correction for many rows needs), and a row's p is the same whether
// it is tested alone or with others.

// The stakes of a row checked against one draw: the draw's numbers and the stakes as bit sets
// (bit n for number n).
struct TLuckGroup {
    uint32_t Draw = 0;
    std::vector<uint32_t> Stakes;
    int32_t DrawNo = 0;
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
    // Benjamini-Hochberg q values over the rows tested together; negative while not known.
    double QHits = -1, QProfit = -1;
    // The repetitions behind p: how many there were and how many reached the observed totals.
    int Repetitions = 0, AtLeastHits = 0, AtLeastProfit = 0;
};

// The stakes of the file that the rating row `name` collects (checked stakes of 8 numbers whose
// comment equals the name, case-insensitive), grouped by draw in file order.
std::vector<TLuckGroup> LuckGroups(TStakesFile& file, std::string_view name);
// The same for several rows in one reading of the file, one list per name.
std::vector<std::vector<TLuckGroup>> LuckGroups(TStakesFile& file, std::span<const std::string> names);

// The test; `progress` (done, total) is called now and then and ends the work by returning false
// (the result is then Cancelled).
TLuckResult LuckTest(const std::vector<TLuckGroup>& groups, const TPrizeTable& prizes, const TLuckSettings& settings,
                     const std::function<bool(int done, int total)>& progress = {});

// --- many rows at once, with a hold-out and the band of random draws ------------------------------

// The Benjamini-Hochberg adjusted p values ("q values"), in the order of `p`: q of the i-th
// smallest of m values is the least of m x p(j) / j over j >= i, at most 1. Rows whose q is
// below 0.05 form a set in which about 5% or fewer are expected to be chance findings.
std::vector<double> BenjaminiHochberg(std::span<const double> p);

// A row's result over some of its draws.
struct TLuckPart {
    int Draws = 0;
    int Stakes = 0;
    int64_t Hits = 0;
    util::Currency Profit;
    int AtLeastHits = 0, AtLeastProfit = 0;
    double PHits = 1, PProfit = 1;
    double QHits = 1, QProfit = 1;
};

// Cumulative hits and profit (Currency raw) of a row at some of its draws, with the 5% and 95%
// points of the same totals on random draws.
struct TLuckBand {
    std::vector<int32_t> DrawNo;
    std::vector<int> Stakes;   // the row's stakes up to each point
    std::vector<int64_t> Hits, HitsLow, HitsHigh;
    std::vector<int64_t> Profit, ProfitLow, ProfitHigh;
    bool Empty() const { return DrawNo.empty(); }
};

struct TLuckRowResult {
    TLuckPart All, Tuning, Holdout;
    TLuckBand Band;
};

struct TLuckRowsSettings {
    int Draws = 10000;
    uint64_t Seed = 20;
    // Draws numbered from here on are the hold-out ones; 0: no hold-out (all draws tune).
    int32_t HoldoutFrom = 0;
    // Points of the band per row (0: no band), and the repetitions it is taken from (the first
    // ones of the test; a few thousand fix the 5% and 95% points well enough to draw).
    int BandPoints = 0;
    int BandRepetitions = 2000;
};

struct TLuckRowsResult {
    std::vector<TLuckRowResult> Rows;
    int Repetitions = 0;
    bool Cancelled = false;
};

// Tests the rows together: p of every row and part, q over the rows of each part, and the band of
// the rows that `band` marks (all rows when it is empty).
TLuckRowsResult LuckTestRows(const std::vector<std::vector<TLuckGroup>>& rows, const TPrizeTable& prizes,
                             const TLuckRowsSettings& settings, std::span<const bool> band = {},
                             const std::function<bool(int done, int total)>& progress = {});

// The p value that the correction takes: (k + 1) / (R + 1) of k repetitions out of R that did
// as well. Never 0, so a row that no repetition matched still counts as a finding of 1 in R.
double LuckPValue(int atLeast, int repetitions);

// The one sentence under the rating: how many of the rows tested together chance alone would
// bring below p = 0.05, how many are, and how many stay below after the correction (q < 0.05).
std::string LuckChanceText(int rows, int belowP, int belowQ);

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

// Sets QHits and QProfit of the results (rows tested together) from their repetition counts.
void SetLuckQValues(std::span<TLuckResult*> results);

// The text of a p value in the rating view: "%.4f", "< 0.0001" below the resolution of R draws.
std::string LuckPText(double p, int draws);
// The captions of the two p columns after the rating's own.
inline constexpr const char* LuckHitsCaption = "p (совпадения)";
inline constexpr const char* LuckProfitCaption = "p (профит)";

} // namespace kv::stakes
