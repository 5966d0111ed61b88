#include "core/filters/favorites.h"

#include <algorithm>

#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/format.h"

namespace kv::filters {

namespace {

// Lower case in CP1251, where every Russian letter is one byte: А..Я -> а..я, Ё -> ё.
std::string lowerCp1251(std::string_view utf8)
{
    std::string s = util::Utf8ToCp1251(utf8);
    for (char& ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF)) ch = static_cast<char>(c + 0x20);
        else if (c == 0xA8) ch = static_cast<char>(0xB8);
    }
    return s;
}

} // namespace

bool SameCaption(std::string_view a, std::string_view b) { return lowerCp1251(a) == lowerCp1251(b); }

void TFavoritesTree::Build(const stats::TStatList& list)
{
    m_groups.clear();
    m_methodCount = list.MethodCount();
    Ordered = list.Ordered;
    ShowGroupName = list.ShowGroupName;
    ShowMethodFlags = list.ShowMethodFlags;
    for (int i = 0; i < list.MethodCount(); ++i) {
        if (!list.IsAvailable(i)) continue;
        const stats::TStatMethod& m = list.Method(i);
        const int group = m.Kind->GetGroup();
        auto g = std::find_if(m_groups.begin(), m_groups.end(), [&](const TFavoriteGroup& x) { return x.Group == group; });
        if (g == m_groups.end()) {
            m_groups.push_back({group, std::string(stats::GroupCaption(group)), {}});
            g = m_groups.end() - 1;
        }
        g->Methods.push_back({i, m.MethodCaption(), m.Favorite});
    }
}

std::string TFavoritesTree::CountText() const { return util::Format("всего %d методов", {m_methodCount}); }

TFavoriteNode* TFavoritesTree::node(int group, int node)
{
    if (group < 0 || group >= static_cast<int>(m_groups.size())) return nullptr;
    std::vector<TFavoriteNode>& methods = m_groups[std::size_t(group)].Methods;
    if (node < 0 || node >= static_cast<int>(methods.size())) return nullptr;
    return &methods[std::size_t(node)];
}

void TFavoritesTree::MarkAll(bool marked)
{
    for (TFavoriteGroup& g : m_groups)
        for (TFavoriteNode& n : g.Methods) n.Marked = marked;
}

void TFavoritesTree::MarkGroup(int group, bool marked)
{
    if (group < 0 || group >= static_cast<int>(m_groups.size())) return;
    for (TFavoriteNode& n : m_groups[std::size_t(group)].Methods) n.Marked = marked;
}

void TFavoritesTree::Toggle(int group, int index)
{
    if (TFavoriteNode* n = node(group, index)) n->Marked = !n->Marked;
}

void TFavoritesTree::Rename(int group, int index, std::string text)
{
    if (TFavoriteNode* n = node(group, index)) n->Text = std::move(text);
}

void TFavoritesTree::ResetName(int group, int index, const stats::TStatList& list)
{
    TFavoriteNode* n = node(group, index);
    if (n && n->Method >= 0 && n->Method < list.MethodCount()) n->Text = list.Method(n->Method).DefaultCaption();
}

void TFavoritesTree::ApplyNames(stats::TStatList& list) const
{
    for (const TFavoriteGroup& g : m_groups) {
        for (const TFavoriteNode& n : g.Methods) {
            if (n.Method < 0 || n.Method >= list.MethodCount()) continue;
            stats::TStatMethod& m = list.Method(n.Method);
            m.CustomCaption = SameCaption(n.Text, m.DefaultCaption()) ? std::string() : n.Text;
        }
    }
}

void TFavoritesTree::Apply(stats::TStatList& list) const
{
    for (const TFavoriteGroup& g : m_groups)
        for (const TFavoriteNode& n : g.Methods)
            if (n.Method >= 0 && n.Method < list.MethodCount()) list.Method(n.Method).Favorite = n.Marked;
    ApplyNames(list);
    list.NormalizeFavorites();
    list.Ordered = Ordered;
    list.ShowGroupName = ShowGroupName;
    list.ShowMethodFlags = ShowMethodFlags;
}

bool TFavoritesTree::ImportNames(stats::TStatList& list, const std::filesystem::path& file, shell::Shell& shell)
{
    const bool ok = list.LoadFilterList(file, false, shell);
    // The captions change, not the user's marks of this window (they are applied on OK only).
    for (TFavoriteGroup& g : m_groups)
        for (TFavoriteNode& n : g.Methods)
            if (n.Method >= 0 && n.Method < list.MethodCount()) n.Text = list.Method(n.Method).MethodCaption();
    return ok;
}

bool TFavoritesTree::ExportNames(stats::TStatList& list, const std::filesystem::path& file,
                                 const std::filesystem::path& ownFile, shell::Shell& shell) const
{
    ApplyNames(list);
    const bool ok = list.SaveFilterList(file, false, true, shell);
    // Names count only once the window is confirmed: until then the methods keep the saved ones.
    list.LoadFilterList(ownFile, false, shell);
    return ok;
}

bool ConfirmFavorites(const TFavoritesTree& tree, stats::TStatList& list, const std::filesystem::path& ownFile,
                      shell::Shell& shell)
{
    tree.Apply(list);
    return list.SaveFilterList(ownFile, true, false, shell);
}

bool ResetFavorites(stats::TStatList& list, const std::filesystem::path& ownFile, shell::Shell& shell)
{
    if (!shell.Confirm(FavoritesResetQuestion)) return false;
    list.SetAllFavorites();
    list.SaveFilterList(ownFile, true, false, shell);
    return true;
}

std::vector<std::string> CustomCaptions(const stats::TStatList& list)
{
    std::vector<std::string> captions;
    captions.reserve(std::size_t(list.MethodCount()));
    for (int i = 0; i < list.MethodCount(); ++i) captions.push_back(list.Method(i).CustomCaption);
    return captions;
}

bool KeepImportedNames(const stats::TStatList& list, const std::vector<std::string>& before,
                       const std::filesystem::path& ownFile, shell::Shell& shell)
{
    if (CustomCaptions(list) == before) return false;
    return list.SaveFilterList(ownFile, true, false, shell);
}

} // namespace kv::filters
