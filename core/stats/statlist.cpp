#include "core/stats/statlist.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "core/game/counting.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/util/cp1251.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::stats {

namespace {

constexpr std::string_view SecGlobal = "GLOBAL";
constexpr std::string_view SecStakes = "STAKES";
constexpr std::string_view SecWeights = "CDL";
constexpr std::string_view SecShredding = "SHREDDING";
constexpr std::string_view SecFilters = "FILTERS";

constexpr std::size_t MaxGenerateParameters = 255;
// Generation modes 0..4: full list, three "my numbers" rules, a prepared file.
constexpr int64_t MaxGenerateMode = 4;
// 10^digits must stay within a 64-bit integer when a formula value is cut to digits.
constexpr int64_t MaxFormulaDigits = 18;
// A stake never holds more numbers than the field has.
constexpr int64_t MaxStakeNumbers = 20;
// A stake cost beyond this, multiplied by the largest stake (C(20, 8) combinations), would not
// fit into the currency's 64 bits.
constexpr double MaxCost = 1e9;
// Overlaps are bytes, so a longer prize table can only repeat rows.
constexpr int64_t MaxProfitRows = 256;

// Delphi's Trim: every character up to the space counts as blank.
std::string_view trimBlank(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

bool sameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// A hand-edited settings file is trusted only within the ranges the rest of the program can
// work with (card columns 1..20, channels 2..20, stakes 8..20 numbers, ...): anything else,
// including text that is not a number, gives the key's default, so a typing error can never
// produce a card without columns or an absurd stake.
int64_t readInRange(const util::IniFile& ini, std::string_view section, std::string_view key,
                    int64_t def, int64_t lo, int64_t hi)
{
    const int64_t v = ini.ReadInteger(section, key, def);
    return v >= lo && v <= hi ? v : def;
}

// A decimal amount: exact when it has at most 4 decimals, otherwise rounded to 1/10000.
bool readAmount(const util::IniFile& ini, std::string_view section, std::string_view key,
                util::Currency& out)
{
    const auto text = ini.Value(section, key);
    if (!text) return false;
    if (util::TryParseCurrency(*text, out)) return true;
    double v;
    // Beyond 9e14 the amount times 10000 leaves the currency's range: a typing error, not money.
    if (!util::TryParseFloat(*text, v) || std::fabs(v) >= 9e14) return false;
    out = util::Currency::FromDouble(v);
    return true;
}

// The amount as a plain decimal with "." and no trailing zeros ("10", "12.5", "0.0001"),
// written from the integer so that no amount loses a digit on its way through a double.
std::string amountText(util::Currency c)
{
    std::string s = util::CurrencyToText(c, 4, '.');
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string profitKey(int i, const char* field) { return util::Format("Profit_%d_%s", {i, field}); }

// The row number of a "Profit_%d_Overlap" or "Profit_%d_Profit" key; -1 for any other key.
int profitRow(std::string_view key)
{
    constexpr std::string_view prefix = "Profit_";
    if (key.size() <= prefix.size() || !sameText(key.substr(0, prefix.size()), prefix)) return -1;
    key.remove_prefix(prefix.size());
    const std::size_t sep = key.find('_');
    if (sep == 0 || sep == std::string_view::npos || sep > 9) return -1;
    int row = 0;
    for (char c : key.substr(0, sep)) {
        if (c < '0' || c > '9') return -1;
        row = row * 10 + (c - '0');
    }
    const std::string_view field = key.substr(sep + 1);
    return sameText(field, "Overlap") || sameText(field, "Profit") ? row : -1;
}

} // namespace

// --- TStatMethod --------------------------------------------------------------------------------

std::string TStatMethod::DisplayCaption() const
{
    // The shredding caption carries a "%s" for the formula the method was built with.
    if (Kind->GetGroup() == GroupShredding) return util::Format(MethodCaption(), {Formula});
    return MethodCaption();
}

// --- methods ------------------------------------------------------------------------------------

TStatList::TStatList() = default;

void TStatList::BuildMethodList() { BuildMethodList(Catalogue()); }

void TStatList::BuildMethodList(const std::vector<const TStatKind*>& kinds)
{
    Ordered = false;
    ShowGroupName = true;
    ShowMethodFlags = true;
    AllFavorites = true;
    m_methods.clear();

    const TShreddingData& shr = m_env.Shredding;
    auto add = [&](const TStatKind* kind, int32_t param) {
        TStatMethod m;
        m.Kind = kind;
        m.Param = param;
        if (kind->GetGroup() == GroupShredding) {
            if (param == 1) m.Formula = shr.Formula1;
            else if (param == 2) m.Formula = shr.Formula2;
            else if (param == 3) m.Formula = shr.Formula3;
        }
        m_methods.push_back(std::move(m));
    };
    for (const TStatKind* kind : kinds) {
        if (!kind->IsAvailable()) continue;
        if (kind->HasParam()) {
            const auto [first, last] = kind->GetParamRange(m_env.Config);
            for (int p = first; p <= last; ++p) add(kind, p);
        } else {
            add(kind, 0);
        }
    }
}

int TStatList::FindMethod(std::string_view code) const
{
    for (int i = 0; i < MethodCount(); ++i)
        if (m_methods[i].MethodCode() == code) return i;
    return -1;
}

std::string TStatList::GetDisplayName(int i, bool withFlags) const
{
    const TStatMethod& m = m_methods[i];
    std::string s = m.DisplayCaption();
    if (ShowGroupName) s = util::Format("{ %1:s } %0:s", {s, GroupId(m.Kind->GetGroup())});
    if (withFlags && ShowMethodFlags) {
        const std::string letters = FlagLetters(m.Kind->GetMethodFlags());
        if (!letters.empty()) s = util::Format("%0:s [ %1:s ]", {s, letters});
    }
    return s;
}

std::unique_ptr<TCustomStat> TStatList::CreateStat(int i) const
{
    const TStatMethod& m = m_methods[i];
    return m.Kind->Create(m_env, m.Param);
}

// --- settings file ------------------------------------------------------------------------------

void TStatList::LoadSettings(const std::filesystem::path& path)
{
    const util::IniFile ini = util::IniFile::Load(path);
    const TConfigData def;
    TConfigData& c = m_env.Config;

    c.MatrixCols = static_cast<int32_t>(readInRange(ini, SecGlobal, "MatrixCols", def.MatrixCols, 1, 20));
    c.MatrixSegments = game::TextToSegments(ini.ReadString(SecGlobal, "MatrixSegments", ""));
    c.ChannelSize = static_cast<int32_t>(readInRange(ini, SecGlobal, "ChannelSize", def.ChannelSize, 2, 20));

    util::Currency cost;
    c.Cost = readAmount(ini, SecStakes, "Cost", cost) && cost.raw >= 0 && cost.ToDouble() <= MaxCost
                 ? cost
                 : def.Cost;
    c.MaxStake = static_cast<int32_t>(readInRange(ini, SecStakes, "MaxStake", def.MaxStake, 8, MaxStakeNumbers));
    c.Profits.clear();
    const int64_t rows = readInRange(ini, SecStakes, "Profits", 0, 0, MaxProfitRows);
    for (int i = 0; i < rows; ++i) {
        TProfitItem p;
        p.Overlap = static_cast<uint8_t>(ini.ReadInteger(SecStakes, profitKey(i, "Overlap"), 0) & 0xFF);
        if (!readAmount(ini, SecStakes, profitKey(i, "Profit"), p.Profit)) p.Profit = {};
        c.Profits.push_back(p);
    }

    TWeightCoefs& w = c.Weights;
    w.CoefCount = ini.ReadFloat(SecWeights, "Count", static_cast<double>(def.Weights.CoefCount));
    w.CoefDeviation = ini.ReadFloat(SecWeights, "Deviation", static_cast<double>(def.Weights.CoefDeviation));
    w.CoefDepth = ini.ReadFloat(SecWeights, "Level", static_cast<double>(def.Weights.CoefDepth));
    w.UsePercents = ini.ReadInteger(SecWeights, "UsePercents", def.Weights.UsePercents ? 1 : 0) > 0;
    w.UseAbsolute = ini.ReadInteger(SecWeights, "UseAbsValues", def.Weights.UseAbsolute ? 1 : 0) > 0;
}

void TStatList::SaveSettings(const std::filesystem::path& path) const
{
    util::IniFile ini = util::IniFile::Load(path);
    const TConfigData& c = m_env.Config;

    ini.WriteInteger(SecGlobal, "MatrixCols", c.MatrixCols);
    ini.WriteString(SecGlobal, "MatrixSegments", game::SegmentsToText(c.MatrixSegments));
    ini.WriteInteger(SecGlobal, "ChannelSize", c.ChannelSize);

    ini.WriteString(SecStakes, "Cost", amountText(c.Cost));
    ini.WriteInteger(SecStakes, "MaxStake", c.MaxStake);
    const int rows = static_cast<int>(c.Profits.size());
    ini.WriteInteger(SecStakes, "Profits", rows);
    for (int i = 0; i < rows; ++i) {
        ini.WriteInteger(SecStakes, profitKey(i, "Overlap"), c.Profits[i].Overlap);
        ini.WriteString(SecStakes, profitKey(i, "Profit"), amountText(c.Profits[i].Profit));
    }
    // Rows of a longer table saved before are never read again (the count bounds the reading);
    // they are dropped so that the file shows the table as it is.
    for (const std::string& key : ini.Keys(SecStakes)) {
        const int row = profitRow(key);
        if (row >= rows) ini.EraseKey(SecStakes, key);
    }

    const TWeightCoefs& w = c.Weights;
    ini.WriteFloat(SecWeights, "Count", static_cast<double>(w.CoefCount));
    ini.WriteFloat(SecWeights, "Deviation", static_cast<double>(w.CoefDeviation));
    ini.WriteFloat(SecWeights, "Level", static_cast<double>(w.CoefDepth));
    ini.WriteInteger(SecWeights, "UsePercents", w.UsePercents ? 1 : 0);
    ini.WriteInteger(SecWeights, "UseAbsValues", w.UseAbsolute ? 1 : 0);
    ini.Save(path);
}

void TStatList::LoadGenerateSettings(const std::filesystem::path& path)
{
    const util::IniFile ini = util::IniFile::Load(path);
    CombsGenerateMode = static_cast<uint8_t>(readInRange(ini, SecGlobal, "CombsGenerateMode", 0, 0, MaxGenerateMode));
    CombsGenerateParameters =
        util::Utf8Left(ini.ReadString(SecGlobal, "CombsGenerateParameters", ""), MaxGenerateParameters);
}

void TStatList::SaveGenerateSettings(const std::filesystem::path& path) const
{
    util::IniFile ini = util::IniFile::Load(path);
    ini.WriteInteger(SecGlobal, "CombsGenerateMode", CombsGenerateMode);
    ini.WriteString(SecGlobal, "CombsGenerateParameters", util::Utf8Left(CombsGenerateParameters, MaxGenerateParameters));
    ini.Save(path);
}

void TStatList::LoadShredding(const std::filesystem::path& path)
{
    const util::IniFile ini = util::IniFile::Load(path);
    const TShreddingData def;
    TShreddingData& s = m_env.Shredding;
    s.Formula1 = ini.ReadString(SecShredding, "Formula1", def.Formula1);
    s.Formula2 = ini.ReadString(SecShredding, "Formula2", def.Formula2);
    s.Formula3 = ini.ReadString(SecShredding, "Formula3", def.Formula3);
    s.Formula1Digits = static_cast<uint8_t>(readInRange(ini, SecShredding, "Formula1Digits", def.Formula1Digits, 0, MaxFormulaDigits));
    s.Formula2Digits = static_cast<uint8_t>(readInRange(ini, SecShredding, "Formula2Digits", def.Formula2Digits, 0, MaxFormulaDigits));
    s.Formula3Digits = static_cast<uint8_t>(readInRange(ini, SecShredding, "Formula3Digits", def.Formula3Digits, 0, MaxFormulaDigits));
}

void TStatList::SaveShredding(const std::filesystem::path& path) const
{
    util::IniFile ini = util::IniFile::Load(path);
    const TShreddingData& s = m_env.Shredding;
    ini.WriteString(SecShredding, "Formula1", s.Formula1);
    ini.WriteString(SecShredding, "Formula2", s.Formula2);
    ini.WriteString(SecShredding, "Formula3", s.Formula3);
    ini.WriteInteger(SecShredding, "Formula1Digits", s.Formula1Digits);
    ini.WriteInteger(SecShredding, "Formula2Digits", s.Formula2Digits);
    ini.WriteInteger(SecShredding, "Formula3Digits", s.Formula3Digits);
    ini.Save(path);
}

// --- favourites and the filter-list file --------------------------------------------------------

void TStatList::SetAllFavorites()
{
    AllFavorites = true;
    for (TStatMethod& m : m_methods) m.Favorite = true;
}

void TStatList::NormalizeFavorites()
{
    AllFavorites = true;
    if (m_methods.empty()) return;
    const bool first = m_methods.front().Favorite;
    for (const TStatMethod& m : m_methods) {
        if (m.Favorite != first) {
            AllFavorites = false;
            return;
        }
    }
    // No favourite at all would leave the choosers empty: that means "all".
    if (!first)
        for (TStatMethod& m : m_methods) m.Favorite = true;
}

std::string TStatList::GetFavorites() const
{
    std::string text;
    auto add = [&](std::string_view code) {
        if (!text.empty()) text += ',';
        text += code;
    };
    if (!AllFavorites)
        for (const TStatMethod& m : m_methods)
            if (m.Favorite) add(m.MethodCode());
    for (const std::string& code : m_unknownFavorites) add(code);
    return text;
}

std::vector<std::string> TStatList::SetFavorites(std::string_view text)
{
    m_unknownFavorites.clear();
    if (trimBlank(text).empty()) {
        SetAllFavorites();
        return {};
    }
    // Words are compared as written: "NUMS, EVEN" names "NUMS" and " EVEN", and no method has
    // the second code. Files written by the program never hold blanks there.
    std::vector<std::string_view> words;
    for (std::size_t pos = 0;;) {
        const std::size_t comma = text.find(',', pos);
        words.push_back(text.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    std::vector<bool> known(words.size(), false);
    bool any = false;
    for (TStatMethod& m : m_methods) {
        const std::string code = m.MethodCode();
        m.Favorite = false;
        for (std::size_t w = 0; w < words.size(); ++w) {
            if (!sameText(words[w], code)) continue;
            m.Favorite = true;
            known[w] = true;
            any = true;
        }
    }
    for (std::size_t w = 0; w < words.size(); ++w)
        if (!known[w] && !trimBlank(words[w]).empty()) m_unknownFavorites.emplace_back(words[w]);
    if (any) AllFavorites = false;
    else SetAllFavorites();
    return m_unknownFavorites;
}

bool TStatList::LoadFilterList(const std::filesystem::path& file, bool withOptions, shell::Shell& shell)
{
    try {
        const util::IniFile ini = util::IniFile::Load(file);
        if (withOptions) {
            const std::vector<std::string> unknown = SetFavorites(ini.ReadString(SecFilters, "Favorites", GetFavorites()));
            if (!unknown.empty()) {
                std::string codes;
                for (const std::string& code : unknown) codes += (codes.empty() ? "" : ", ") + code;
                shell.ShowMessage(shell::MessageKind::Warning,
                    util::Format("Список избранных фильтров в файле \"%s\" называет неизвестные методы: %s. "
                                 "Они пропущены и сохраняются в файле без изменений.",
                                 {file.filename().string(), codes}));
            }
            Ordered = ini.ReadBool(SecFilters, "Ordered", Ordered);
            ShowGroupName = ini.ReadBool(SecFilters, "ShowGroupName", ShowGroupName);
            ShowMethodFlags = ini.ReadBool(SecFilters, "ShowMethodFlags", ShowMethodFlags);
        }
        const std::string section = "STRINGS_" + Language;
        for (TStatMethod& m : m_methods)
            m.CustomCaption = std::string(trimBlank(ini.ReadString(section, m.MethodCode(), "")));
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка загрузки списка фильтров!", e.what());
        return false;
    }
}

bool TStatList::SaveFilterList(const std::filesystem::path& file, bool withOptions, bool allCaptions,
                               shell::Shell& shell) const
{
    try {
        util::IniFile ini = util::IniFile::Load(file);
        if (withOptions) {
            ini.WriteString(SecFilters, "Favorites", GetFavorites());
            ini.WriteBool(SecFilters, "Ordered", Ordered);
            ini.WriteBool(SecFilters, "ShowGroupName", ShowGroupName);
            ini.WriteBool(SecFilters, "ShowMethodFlags", ShowMethodFlags);
        }
        const std::string section = "STRINGS_" + Language;
        ini.EraseSection(section);
        for (const TStatMethod& m : m_methods) {
            if (allCaptions) ini.WriteString(section, m.MethodCode(), m.MethodCaption());
            else if (!m.CustomCaption.empty()) ini.WriteString(section, m.MethodCode(), m.CustomCaption);
        }
        ini.Save(file);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка сохранения списка фильтров!", e.what());
        return false;
    }
}

// --- choosers -----------------------------------------------------------------------------------

TChoosers BuildChoosers(const TStatList& list)
{
    TChoosers c;
    for (int i = 0; i < list.MethodCount(); ++i) {
        if (!list.IsAvailable(i) || !list.IsListed(i) || !list.IsShown(i)) continue;
        TChooserEntry e{i, list.GetDisplayName(i, true)};
        if (list.IsGraph(i)) c.Graph.push_back(e);
        c.Stat.push_back(std::move(e));
    }
    if (list.Ordered) {
        // Byte order of the UTF-8 names: the group id prefix, when shown, keeps the groups
        // together, and equal names keep the list order. It is not the locale's collation (an
        // upper-case Cyrillic letter sorts before every lower-case one), which only matters
        // between captions that differ in case alone.
        const auto byName = [](const TChooserEntry& a, const TChooserEntry& b) { return a.Name < b.Name; };
        std::stable_sort(c.Stat.begin(), c.Stat.end(), byName);
        std::stable_sort(c.Graph.begin(), c.Graph.end(), byName);
    }
    return c;
}

std::string NoMethodChosenText(std::string_view chooserName)
{
    return util::Format("Не выбран метод расчета статистики (cb: %s)!", {chooserName});
}

} // namespace kv::stats
