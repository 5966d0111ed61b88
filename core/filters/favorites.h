#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::shell {
class Shell;
}

namespace kv::stats {
class TStatList;
}

namespace kv::filters {

// One method of the manager's tree: its caption as the user sees and edits it, and its mark.
struct TFavoriteNode {
    int Method = -1;        // registry index
    std::string Text;
    bool Marked = false;
};

// A top node: one statistic group with its methods in registry order.
struct TFavoriteGroup {
    int Group = 0;
    std::string Caption;    // the group's name ("Числа тиража")
    std::vector<TFavoriteNode> Methods;
};

// The favourites manager as data: the tree of groups and methods with marks and captions, and
// the three list options, filled from the registry and written back on confirmation. A dialog
// shows it and forwards the user's clicks; nothing here needs a window.
class TFavoritesTree {
public:
    // Groups in the order of their first method; each method marked when it is a favourite and
    // captioned with its custom caption, or its default one.
    void Build(const stats::TStatList& list);

    const std::vector<TFavoriteGroup>& Groups() const { return m_groups; }
    bool Empty() const { return m_groups.empty(); }
    int MethodCount() const { return m_methodCount; }
    // "всего %d методов": the number of registered methods.
    std::string CountText() const;

    // Every method node, or those of one group (out-of-range groups are ignored).
    void MarkAll(bool marked);
    void MarkGroup(int group, bool marked);
    // A click on a method node.
    void Toggle(int group, int node);
    void Rename(int group, int node, std::string text);
    // The node's text becomes the method's default caption.
    void ResetName(int group, int node, const stats::TStatList& list);

    // The options of the window, initially the registry's.
    bool Ordered = false;
    bool ShowGroupName = true;
    bool ShowMethodFlags = true;

    // Confirmation: marks and captions to the methods (a text equal to the default caption in
    // any letter case stores no custom caption), NormalizeFavorites, the three options. The
    // caller then saves the program's filter list and refills the choosers.
    void Apply(stats::TStatList& list) const;
    // Only the captions, as the export sends them.
    void ApplyNames(stats::TStatList& list) const;

    // "Импорт названий": the custom captions of every method from a filter-list file (no options),
    // then the tree's texts from them; the window's marks stay as they are. False when the file
    // could not be read (reported through the shell).
    bool ImportNames(stats::TStatList& list, const std::filesystem::path& file, shell::Shell& shell);
    // "Экспорт названий": the tree's names to the methods, a file with a caption for every method
    // (no favourites, no options), then the captions of the program's own file back.
    bool ExportNames(stats::TStatList& list, const std::filesystem::path& file,
                     const std::filesystem::path& ownFile, shell::Shell& shell) const;

private:
    TFavoriteNode* node(int group, int node);

    std::vector<TFavoriteGroup> m_groups;
    int m_methodCount = 0;
};

// Confirmation of the manager: the tree applied to the registry, then the program's filter list
// written with the options and only the custom captions. The caller shows FavoritesWaitText
// meanwhile and refills the choosers with reload. False when the file could not be written
// (reported through the shell; the registry keeps the confirmed state).
bool ConfirmFavorites(const TFavoritesTree& tree, stats::TStatList& list, const std::filesystem::path& ownFile,
                      shell::Shell& shell);

// "Все доступные статистики": asks FavoritesResetQuestion; on Yes every method becomes a
// favourite and the program's filter list is written. Custom captions and options stay. False
// when the answer was No (nothing changed).
bool ResetFavorites(stats::TStatList& list, const std::filesystem::path& ownFile, shell::Shell& shell);

// The custom captions of all methods, in registry order, taken before the manager opens.
std::vector<std::string> CustomCaptions(const stats::TStatList& list);
// After the manager was cancelled: captions that an import already gave the methods stay, and
// are written to the program's filter list (favourites and options as they were) so that the
// lists show them and the next start keeps them, as after any other change of the names. True
// when the captions differ from `before` and the file was written; the caller then refills the
// choosers.
bool KeepImportedNames(const stats::TStatList& list, const std::vector<std::string>& before,
                       const std::filesystem::path& ownFile, shell::Shell& shell);

// The texts of the manager window and its commands.
inline constexpr const char* FavoritesWindowCaption = "Менеджер избранных методов расчета статистики";
inline constexpr const char* FavoritesResetQuestion = "Вы действительно хотите сбросить список избранных фильтров?";
inline constexpr const char* FilterListFileFilter = "Наименования фильтров (*.flt)|*.flt";
inline constexpr const char* FilterListExtension = "flt";
inline constexpr const char* FavoritesWaitText = "Подождите пожалуйста...";

// Two captions equal without regard to letter case, Cyrillic included.
bool SameCaption(std::string_view a, std::string_view b);

} // namespace kv::filters
