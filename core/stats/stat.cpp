#include "core/stats/stat.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/util/format.h"
#include "core/util/translate.h"

namespace kv::stats {

namespace {

struct TGroupInfo {
    std::string_view Id;
    std::string_view Caption;
};

constexpr std::array<TGroupInfo, GroupCountTotal> Groups = {{
    {"num", "Числа тиража"},
    {"sum", "Сумма чисел тиража"},
    {"dif", "Разности между числами тиража"},
    {"grp", "Каналы (группы чисел)"},
    {"mtx", "Матрица тиража"},
    {"sgm", "Сегменты матрицы тиража"},
    {"seq", "Последовательности чисел в одном тираже"},
    {"rep", "Повторяющиеся числа в нескольких тиражах"},
    {"ser", "Серии (цепочки) значений"},
    {"per", "Периоды повторения значений"},
    {"mov", "Переходы (изменения) значений между тиражами"},
    {"krv", "Характеристическое число Карвела"},
    {"shr", "Методы шинковки"},
}};

bool validGroup(int group) { return group >= 0 && group < GroupCountTotal; }

// The draw at index, all zeros outside the archive; its 8 numbers ascending when sorted. Copied
// straight into its place: a draw returned through the stack and copied on is read back with
// wide loads of the narrow stores just made, which wait for the cache (every draw of every
// table's window comes this way).
void loadDraw(game::TDraw& out, const game::TDrawsArray* draws, int index, bool sorted)
{
    if (!draws || index < 0 || index >= static_cast<int>(draws->size())) {
        out = game::TDraw{};
        return;
    }
    out = (*draws)[static_cast<std::size_t>(index)];
    if (sorted) game::SortDrawNums(out);
}

game::TDraw drawAt(const game::TDrawsArray* draws, int index, bool sorted)
{
    game::TDraw d;
    loadDraw(d, draws, index, sorted);
    return d;
}

// Byte length of the UTF-8 character starting at s[i] (1 for a stray continuation byte).
std::size_t charLength(std::string_view s, std::size_t i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return std::min(n, s.size() - i);
}

} // namespace

std::string FlagLetters(unsigned flags)
{
    static constexpr char Letters[] = "SNDPG";
    std::string s;
    for (int bit = 0; bit < 5; ++bit)
        if (flags & (1u << bit)) s += Letters[bit];
    return s;
}

std::string_view GroupId(int group) { return validGroup(group) ? Groups[std::size_t(group)].Id : std::string_view(); }

std::string_view GroupCaption(int group)
{
    return validGroup(group) ? util::TrText(Groups[std::size_t(group)].Caption.data()) : std::string_view();
}

std::string GroupName(int group)
{
    if (!validGroup(group)) return "#ERROR#";
    return util::Format("{ %1:s } %0:s", {GroupCaption(group), GroupId(group)});
}

// --- TStatKind --------------------------------------------------------------------------------

std::string TStatKind::FormatCode(int32_t param) const { return util::Format(m_info.Code, {param}); }

std::string TStatKind::FormatCaption(int32_t param) const
{
    if (m_info.CaptionFormat) return m_info.CaptionFormat(param);
    return util::Format(util::TrText(m_info.Caption), {param});
}

std::string StatHelpPage(TStatGroup group, std::string_view helpCode)
{
    // One page per family; the tuples of single numbers ("KN..") have a page of their own.
    static constexpr const char* pages[GroupCountTotal] = {
        "numbers", "sums", "differences", "channels", "matrix", "segments", "sequences",
        "repeats", "series", "periods", "transitions", "karvel", "shredding"};
    if (group == GroupNumbers && helpCode.substr(0, 2) == "KN") return "tuples.html";
    std::string page = group >= 0 && group < GroupCountTotal ? pages[group] : "index";
    page.append(".html");
    return page;
}

std::string StatHelpAnchor(std::string_view helpCode)
{
    const auto at = helpCode.find("%d");
    if (at == std::string_view::npos) return std::string(helpCode);
    std::string anchor(helpCode.substr(0, at));
    anchor.append("x").append(helpCode.substr(at + 2));
    return anchor;
}

std::string TStatKind::GetHelpURL(int32_t, const std::string& helpFile) const
{
    if (helpFile.empty()) return {};
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(helpFile), ec)) return {};
    // Every method of a kind shares the kind's entry on its family's page.
    const std::string code = GetHelpCode();
    const std::filesystem::path page = std::filesystem::path(helpFile).parent_path() / StatHelpPage(m_info.Group, code);
    return "file://" + page.string() + "#" + StatHelpAnchor(code);
}

std::pair<int, int> TStatKind::GetParamRange(const TConfigData& config) const
{
    if (!m_info.HasParam || !m_info.ParamRange) return {0, 0};
    return m_info.ParamRange(config);
}

std::unique_ptr<TCustomStat> TStatKind::Create(const TStatEnv& env, int32_t param) const
{
    if (!m_info.Create) return nullptr;
    return m_info.Create(*this, env, param);
}

// --- TCustomStat ------------------------------------------------------------------------------

TCustomStat::TCustomStat(const TStatKind& kind, const TStatEnv& env, int32_t param)
    : m_kind(kind), m_env(env), m_param(param)
{
}

int32_t TCustomStat::TextToValue(std::string_view text) const { return game::TextToInt(text); }

int32_t TCustomStat::ParseValue(std::string_view text) const
{
    return m_kind.HasNumericValue() ? TextToValue(text) : 0;
}

void TCustomStat::ListValues(int /*lastIndex*/, TStatDrawArray& /*values*/) { Cur = TStatDrawItem{}; }

void TCustomStat::LoadDraws(int index, int refIndex, bool sorted)
{
    loadDraw(CurDraw, m_env.Draws, index, sorted);
    if (m_kind.GetFlags() & FlagD) loadDraw(RefDraw, m_env.Draws, refIndex, sorted);
}

void TCustomStat::CalcComb(const game::TComb& /*comb*/, TStatDrawArray& /*values*/)
{
    Cur = TStatDrawItem{};
    Cur.Count = 1;
}

void TCustomStat::CalcCombs(std::span<const game::TComb> combs, TStatDrawArray& values)
{
    for (const game::TComb& c : combs) CalcComb(c, values);
}

void TCustomStat::CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& /*values*/,
                           TLastValueArray& /*lastValues*/, TWorkArea& /*work*/)
{
    // D kinds compare with the last draw of the window.
    LoadDraws(index, lastIndex, sorted);
    Cur = TStatDrawItem{};
    Cur.LastDrawNo = CurDraw.DrawNo;
    Cur.PrevDrawNo = CurDraw.DrawNo;
    Cur.Depth = lastIndex - index + 1;
    Cur.Count = 1;
}

int32_t TCustomStat::FindValueDraw(const TStatDrawItem& value, int fromIndex, int lastIndex, bool sorted)
{
    const int count = m_env.Draws ? static_cast<int>(m_env.Draws->size()) : 0;
    if (fromIndex > count - 1) return -1;
    const uint64_t key = value.PackedKey();
    TStatDrawArray values;
    TLastValueArray lastValues;
    // Series kinds carry their runs from draw to draw, so the area lives across the search.
    TWorkArea work{};
    for (int index = fromIndex; index < count; ++index) {
        values.Clear();
        lastValues.Clear();
        CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const int i = values.Find(key);
        if (i >= 0) return values[i].LastDrawNo;
    }
    return -1;
}

void TCustomStat::MatchBatch(std::span<const game::TComb> combs, const TStatDrawArray& marked, int lastIndex,
                             bool sorted, bool exclude, std::vector<uint8_t>& result)
{
    result.resize(combs.size());
    for (std::size_t i = 0; i < combs.size(); ++i)
        result[i] = CombMatches(combs[i], marked, lastIndex, sorted, exclude) ? 1 : 0;
}

int32_t TCustomStat::GetGraphValue(const game::TComb& /*numbers*/, int /*index*/, int /*lastIndex*/,
                                   bool /*sorted*/)
{
    return 0;
}

int32_t TCustomStat::GetDrawGraphValue(int index, int lastIndex, bool sorted)
{
    const game::TDraw d = drawAt(m_env.Draws, index, sorted);
    return GetGraphValue(d.Nums, index, lastIndex, sorted);
}

// --- bases ------------------------------------------------------------------------------------

std::string TCustomValuesStat::ValueToText(const TStatDrawItem& value) const { return std::to_string(value.Key[0]); }

std::string TCustomNumbersStat::ValueToText(const TStatDrawItem& value) const { return std::to_string(value.Key[0]); }

std::string TCustomGraphStat::ValueToText(const TStatDrawItem& value) const { return std::to_string(value.Key[0]); }

std::string TCustomRatioStat::ValueToText(const TStatDrawItem& value) const
{
    return std::to_string(value.Key[0]) + ":" + std::to_string(game::NumsPerDraw - value.Key[0]);
}

int32_t TCustomRatioStat::TextToValue(std::string_view text) const
{
    return game::TextToInt(text.substr(0, text.find(':')));
}

std::string TCustomMaskStat::ValueToText(const TStatDrawItem& value) const
{
    const int32_t m = value.LongKey();
    std::string letters;
    for (int bit = 7; bit >= 0; --bit) letters += (m >> bit) & 1 ? GetOneLetter() : GetZeroLetter();
    return util::Format("%s (%.3d)", {letters, m});
}

int32_t TCustomMaskStat::TextToValue(std::string_view text) const
{
    // Eight letters always make eight bits: a short text reads as zero bits at its end.
    const std::string_view one = GetOneLetter();
    int32_t m = 0;
    std::size_t pos = 0;
    for (int i = 0; i < 8; ++i) {
        std::string_view ch;
        if (pos < text.size()) {
            ch = text.substr(pos, charLength(text, pos));
            pos += ch.size();
        }
        m = m * 2 + (!ch.empty() && ch == one ? 1 : 0);
    }
    return m;
}

void TCustomMaskStat::ListValues(int lastIndex, TStatDrawArray& values)
{
    TCustomStat::ListValues(lastIndex, values);
    for (int m = 0; m < 256; ++m) {
        Cur.SetLongKey(m);
        AddCur(values, false);
    }
}

} // namespace kv::stats
