#include "core/archive/drawpage.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/archive/archive.h"
#include "core/game/dates.h"
#include "core/game/texts.h"
#include "core/util/cp1251.h"
#include "core/util/format.h"
#include "core/util/textcut.h"

namespace kv::archive {

namespace {

using util::CutMode;

constexpr std::string_view ListBegin = "<div class=\"data drawings_data\">";
constexpr std::string_view ListEnd = "<div class=\"content_decor\">";
constexpr std::string_view SectionMarker = "<div class=\"elem\">";
constexpr std::string_view NumberBegin = "<a href=\"/zarvik/archive/";
constexpr std::string_view DateBegin = "<div class=\"draw_date\" title=\"";
constexpr std::string_view TagClose = "\">";
constexpr std::string_view NumbersBegin = "<div class=\"container cleared\"";
constexpr std::string_view NumbersEnd = "<div class=\"controls\">";

// The next "<b ...>n</b>" of the numbers part, which loses everything up to its end.
int32_t readNumber(std::string& rest, bool extra)
{
    std::string cut = util::CutBetweenAndConsume(rest, "<b", "</b>", CutMode::Fail);
    cut = util::AnsiRemoveNoCase(cut, "&nbsp;");
    cut = util::AnsiRemoveNoCase(cut, ">");
    if (extra) cut = util::AnsiRemoveNoCase(cut, "class=\"extra\"");
    return game::TextToInt(util::TrimControl(cut));
}

} // namespace

std::string DrawPageUrl(std::string_view operatorUrl, int first, int last)
{
    std::string base(operatorUrl);
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + util::Format("/zarvik/archive?firstDraw=%.5d&lastDraw=%.5d&mode=draw", {first, last});
}

std::string GamePageUrl(std::string_view operatorUrl)
{
    std::string base(operatorUrl);
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + "/zarvik";
}

TDrawPage ParseDrawPage(std::string_view page)
{
    TDrawPage result;
    result.MarkersFound = util::AnsiFindNoCase(page, ListBegin) != std::string_view::npos;
    std::string list = util::CutBetween(page, ListBegin, ListEnd, CutMode::Fail);
    if (list.empty()) return result;
    result.ListFound = true;
    for (;;) {
        const std::string section = util::CutSection(list, SectionMarker);
        if (section.empty()) break;
        TPageDraw d;
        d.DrawNo = game::TextToInt(util::CutBetween(section, NumberBegin, TagClose, CutMode::Fail));
        // The date is single-byte text: 16 bytes are 16 characters.
        d.DateText = util::CutBetween(section, DateBegin, TagClose, CutMode::Fail).substr(0, 16);
        std::string numbers = util::CutTwice(section, NumbersBegin, NumbersEnd, ">", "</div>", CutMode::Fail);
        if (d.DrawNo <= 0 || d.DateText.empty() || numbers.empty()) {
            ++result.Incomplete;
            continue;
        }
        for (std::size_t i = 0; i < d.Nums.size(); ++i) d.Nums[i] = readNumber(numbers, false);
        d.Extra = readNumber(numbers, true);
        d.DateText = util::Cp1251ToUtf8(d.DateText);
        result.Draws.push_back(std::move(d));
    }
    return result;
}

std::string_view SkipReasonText(TSkipReason reason)
{
    switch (reason) {
    case TSkipReason::Incomplete: return "нет номера, даты или чисел тиража";
    case TSkipReason::BadNumbers: return "числа не различны или вне 1..20";
    case TSkipReason::BadExtra: return "дополнительное число вне 1..4";
    case TSkipReason::OutOfRange: return "номер тиража вне запрошенного диапазона";
    case TSkipReason::Known: return "тираж уже есть в архиве";
    case TSkipReason::BadDate: return "дата тиража не читается";
    case TSkipReason::FutureDate: return "дата тиража позже завтрашнего дня";
    case TSkipReason::Count: break;
    }
    return {};
}

int TSkipCounts::Total() const
{
    int n = 0;
    for (const int c : Counts) n += c;
    return n;
}

void TSkipCounts::Add(const TSkipCounts& other)
{
    for (std::size_t i = 0; i < Counts.size(); ++i) Counts[i] += other.Counts[i];
}

game::TDateTime DownloadDateLimit(game::TDateTime now)
{
    return std::floor(now) + 2;
}

game::TDrawsArray AcceptPageDraws(const TDrawPage& page, const game::TDrawsArray& archive, int first, int last,
                                  game::TDateTime dateLimit, TSkipCounts& skipped)
{
    skipped[TSkipReason::Incomplete] += page.Incomplete;
    game::TDrawsArray accepted;
    std::unordered_set<int32_t> taken;
    // The page lists the newest draw first; walking it backwards keeps the first listing of a
    // number that appears twice as the one the operator published first.
    for (auto it = page.Draws.rbegin(); it != page.Draws.rend(); ++it) {
        const TPageDraw& p = *it;
        uint32_t seen = 0;
        bool numbersOk = true;
        for (const int32_t n : p.Nums) {
            if (n < game::MinNumber || n > game::MaxNumber || (seen & (1u << n))) {
                numbersOk = false;
                break;
            }
            seen |= 1u << n;
        }
        TSkipReason reason = TSkipReason::Count;
        if (!numbersOk) {
            reason = TSkipReason::BadNumbers;
        } else if (p.Extra < game::MinExtra || p.Extra > game::MaxExtra) {
            reason = TSkipReason::BadExtra;
        } else if (p.DrawNo < first || p.DrawNo > last) {
            reason = TSkipReason::OutOfRange;
        } else if (taken.count(p.DrawNo) || FindDrawIndex(archive, p.DrawNo) >= 0) {
            reason = TSkipReason::Known;
        } else {
            try {
                if (game::DrawTextToDateTime(p.DateText) >= dateLimit) reason = TSkipReason::FutureDate;
            } catch (const std::exception&) {
                reason = TSkipReason::BadDate;
            }
        }
        if (reason != TSkipReason::Count) {
            ++skipped[reason];
            continue;
        }
        game::TDraw d;
        d.DrawNo = p.DrawNo;
        for (std::size_t i = 0; i < p.Nums.size(); ++i) d.Nums[i] = static_cast<uint8_t>(p.Nums[i]);
        d.Extra = static_cast<uint8_t>(p.Extra);
        d.SetDateText(p.DateText);
        taken.insert(d.DrawNo);
        accepted.push_back(d);
    }
    // A page listed in another order still leaves the archive ascending.
    std::stable_sort(accepted.begin(), accepted.end(),
                     [](const game::TDraw& a, const game::TDraw& b) { return a.DrawNo < b.DrawNo; });
    return accepted;
}

} // namespace kv::archive
