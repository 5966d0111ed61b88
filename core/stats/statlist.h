#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/stats/config.h"
#include "core/stats/stat.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {

// One registered method: a kind with one parameter value.
struct TStatMethod {
    const TStatKind* Kind = nullptr;
    int32_t Param = 0;
    bool Favorite = true;
    std::string CustomCaption;   // the user's caption; empty = the kind's
    std::string Formula;         // shredding methods 1..3: the formula when the method was made

    std::string MethodCode() const { return Kind->FormatCode(Param); }
    std::string DefaultCaption() const { return Kind->FormatCaption(Param); }
    std::string MethodCaption() const { return CustomCaption.empty() ? DefaultCaption() : CustomCaption; }
    // MethodCaption, and for the shredding group the caption formatted with the formula.
    std::string DisplayCaption() const;
};

// The statistic registry: every method in catalogue order, the list options and favourites
// (the filter-list file), and the engine settings (the settings file).
class TStatList {
public:
    TStatList();

    // --- state -------------------------------------------------------------------------------
    bool Ordered = false;
    bool ShowGroupName = true;
    bool ShowMethodFlags = true;
    bool AllFavorites = true;
    TWeightCoefs SavedWeights;
    uint8_t CombsGenerateMode = 0;
    std::string CombsGenerateParameters;      // at most 255 characters
    std::string Language = "RUS";             // section STRINGS_<Language> of the filter list

    TStatEnv& Env() { return m_env; }
    const TStatEnv& Env() const { return m_env; }
    TConfigData& Config() { return m_env.Config; }
    const TConfigData& Config() const { return m_env.Config; }
    TShreddingData& Shredding() { return m_env.Shredding; }
    const TShreddingData& Shredding() const { return m_env.Shredding; }
    // Set once at start-up, before any instance is created.
    void SetDraws(const game::TDrawsArray* draws) { m_env.Draws = draws; }

    // --- methods -----------------------------------------------------------------------------
    // Rebuilds the methods from the kinds of Catalogue() with the current settings.
    void BuildMethodList();
    // The same from another list of kinds, in its order (tests register kinds of their own).
    void BuildMethodList(const std::vector<const TStatKind*>& kinds);
    int MethodCount() const { return static_cast<int>(m_methods.size()); }
    const TStatMethod& Method(int i) const { return m_methods[i]; }
    TStatMethod& Method(int i) { return m_methods[i]; }
    // Index of the method with this code (exact, case-sensitive), or -1.
    int FindMethod(std::string_view code) const;
    bool IsAvailable(int i) const { return m_methods[i].Kind->IsAvailable(); }
    bool IsListed(int i) const { return m_methods[i].Kind->IsListed(); }
    bool IsGraph(int i) const { return m_methods[i].Kind->IsGraph(); }
    bool HasPrefetch(int i) const { return m_methods[i].Kind->HasPrefetch(); }
    bool IsShown(int i) const { return AllFavorites || m_methods[i].Favorite; }
    std::string GetDisplayName(int i, bool withFlags) const;
    // Address of method i's description page; empty when the program has no help file.
    std::string GetHelpURL(int i) const { return m_methods[i].Kind->GetHelpURL(m_methods[i].Param, m_env.HelpFile); }
    std::unique_ptr<TCustomStat> CreateStat(int i) const;

    // --- settings file (INI, sections GLOBAL, STAKES, CDL, SHREDDING); failures throw -----------
    void LoadSettings(const std::filesystem::path& ini);
    void SaveSettings(const std::filesystem::path& ini) const;
    void ClearProfits() { m_env.Config.Profits.clear(); }
    void LoadGenerateSettings(const std::filesystem::path& ini);
    void SaveGenerateSettings(const std::filesystem::path& ini) const;
    void LoadShredding(const std::filesystem::path& ini);
    void SaveShredding(const std::filesystem::path& ini) const;

    void SaveWeights() { SavedWeights = m_env.Config.Weights; }
    void RestoreWeights() { m_env.Config.Weights = SavedWeights; }
    void ApplyWeights(bool own, const TWeightCoefs& coefs) { m_env.Config.Weights = own ? coefs : SavedWeights; }

    // --- favourites and the filter-list file --------------------------------------------------
    void SetAllFavorites();
    void NormalizeFavorites();
    // The codes of the favourites, "" for all; codes of methods this program does not know,
    // read by SetFavorites, are written back after them, so a file from another version keeps
    // its meaning for that version.
    std::string GetFavorites() const;
    // Marks the methods the text names. Unknown codes are ignored (and kept for GetFavorites);
    // when the text names no known method at all every method is shown, as an empty list is.
    // Returns the unknown codes.
    std::vector<std::string> SetFavorites(std::string_view text);
    // Failures are shown through the shell ("Ошибка загрузки списка фильтров!" / "Ошибка
    // сохранения списка фильтров!" with the reason) and give false.
    bool LoadFilterList(const std::filesystem::path& file, bool withOptions, shell::Shell& shell);
    bool SaveFilterList(const std::filesystem::path& file, bool withOptions, bool allCaptions,
                        shell::Shell& shell) const;

private:
    TStatEnv m_env;
    std::vector<TStatMethod> m_methods;
    std::vector<std::string> m_unknownFavorites;
};

// The entries of the two choosers (statistics table, charts): method index and display name,
// sorted by name when the registry is Ordered.
struct TChooserEntry {
    int Method = -1;
    std::string Name;
};
struct TChoosers {
    std::vector<TChooserEntry> Stat;
    std::vector<TChooserEntry> Graph;
};
TChoosers BuildChoosers(const TStatList& list);

// "Не выбран метод расчета статистики (cb: %s)!" for an empty selection of the named chooser.
std::string NoMethodChosenText(std::string_view chooserName);

} // namespace kv::stats
