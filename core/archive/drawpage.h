#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"

namespace kv::archive {

// One page of the operator's archive asks for this many draw numbers.
constexpr int DrawPageRange = 50;

// The page of the draws first..last: the operator's address (a trailing "/" dropped) followed by
// "/zarvik/archive?firstDraw=00123&lastDraw=00172&mode=draw".
std::string DrawPageUrl(std::string_view operatorUrl, int first, int last);
// The game's own page on the operator's site, which "Сайт лотереи" opens in the browser.
std::string GamePageUrl(std::string_view operatorUrl);

// One draw section of a page as it reads, before any check. Numbers stay wide so that a
// value like 300 is refused, not wrapped into a byte.
struct TPageDraw {
    int32_t DrawNo = 0;
    std::string DateText;              // its first 16 characters
    std::array<int32_t, 8> Nums{};     // in page order
    int32_t Extra = 0;
};

struct TDrawPage {
    bool MarkersFound = false;         // the page has the list's begin marker: it is a list page
    bool ListFound = false;            // the list markers were there and the list not empty
    std::vector<TPageDraw> Draws;      // complete sections, in page order (newest first)
    int Incomplete = 0;                // sections without a number, a date or the numbers part
};

// Reads one page text (CP1251, as the page fetcher returns it). A begin marker without its end
// marker fails the whole page with the pair message; anything else that does not read is left
// out or counted as incomplete.
TDrawPage ParseDrawPage(std::string_view page);

// Why a listed draw was not appended.
enum class TSkipReason { Incomplete, BadNumbers, BadExtra, OutOfRange, Known, BadDate, FutureDate, Count };
// One line of the download's report per reason: "числа не различны или вне 1..20".
std::string_view SkipReasonText(TSkipReason reason);

struct TSkipCounts {
    std::array<int, static_cast<std::size_t>(TSkipReason::Count)> Counts{};
    int& operator[](TSkipReason r) { return Counts[static_cast<std::size_t>(r)]; }
    int operator[](TSkipReason r) const { return Counts[static_cast<std::size_t>(r)]; }
    int Total() const;
    void Add(const TSkipCounts& other);
};

// The draws of a page that may join the archive, ascending by number: 8 distinct numbers of
// 1..20, an extra number of 1..4, a number within first..last that the archive (and the page
// before it) does not hold yet, a date that reads as one and lies before `dateLimit` (a draw
// the operator dates later has not taken place: the page is damaged). The others are counted
// in `skipped`.
game::TDrawsArray AcceptPageDraws(const TDrawPage& page, const game::TDrawsArray& archive, int first, int last,
                                  game::TDateTime dateLimit, TSkipCounts& skipped);
// The date limit of a download today: draws dated up to the end of tomorrow are taken (the
// operator's clock may run ahead of ours by a time zone).
game::TDateTime DownloadDateLimit(game::TDateTime now);

} // namespace kv::archive
