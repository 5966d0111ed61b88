#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/filters/favorites.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "tests/core/filters/filtertest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::TFavoritesTree;

namespace {

// Groups appear out of order on purpose: the tree follows the first method of each group.
const std::vector<const stats::TStatKind*>& Kinds()
{
    static const stats::TStatKind aa = test::TestKind(1, "AA", "Альфа", 2);
    static const stats::TStatKind bb = test::TestKind(2, "BB", "Бета", 0);
    static const stats::TStatKind cc = test::TestKind(3, "CC%d", "Гамма %d", 2, stats::FlagN, true, 1, 2);
    static const stats::TStatKind dd = test::TestKind(4, "DD", "Дельта", 5);
    static const std::vector<const stats::TStatKind*> kinds{&aa, &bb, &cc, &dd};
    return kinds;
}

struct Fixture {
    game::TDrawsArray draws;
    stats::TStatList list;
    TFavoritesTree tree;
    test::ScriptedShell sh;

    Fixture()
    {
        list.SetDraws(&draws);
        list.BuildMethodList(Kinds());
    }
    int method(const char* code) const { return list.FindMethod(code); }
    // "group:text*" per method node, * for a mark.
    std::string shape() const
    {
        std::string s;
        for (const auto& g : tree.Groups()) {
            s += "[" + g.Caption + "]";
            for (const auto& n : g.Methods) s += " " + n.Text + (n.Marked ? "*" : "");
            s += "; ";
        }
        return s;
    }
};

TEST(FavoritesTree, GroupsInTheOrderOfTheirFirstMethod)
{
    Fixture f;
    f.list.SetFavorites("AA,cc2");
    f.list.Method(f.method("BB")).CustomCaption = "Мой бета";
    f.list.Ordered = true;
    f.list.ShowMethodFlags = false;
    f.tree.Build(f.list);
    EXPECT_EQ(f.shape(), "[Разности между числами тиража] Альфа* Гамма 1 Гамма 2*; [Числа тиража] Мой бета; "
                         "[Сегменты матрицы тиража] Дельта; ");
    EXPECT_EQ(f.tree.CountText(), "всего 5 методов");
    EXPECT_EQ(f.tree.Groups()[0].Group, 2);
    EXPECT_EQ(f.tree.Groups()[0].Methods[2].Method, f.method("CC2"));
    EXPECT_TRUE(f.tree.Ordered);
    EXPECT_TRUE(f.tree.ShowGroupName);
    EXPECT_FALSE(f.tree.ShowMethodFlags);

    // The program's catalogue: every method once, numbers first.
    stats::TStatList all;
    all.SetDraws(&f.draws);
    all.BuildMethodList();
    TFavoritesTree t;
    t.Build(all);
    int nodes = 0;
    for (const auto& g : t.Groups()) nodes += static_cast<int>(g.Methods.size());
    EXPECT_EQ(nodes, all.MethodCount());
    ASSERT_FALSE(t.Empty());
    EXPECT_EQ(t.Groups()[0].Caption, "Числа тиража");
    EXPECT_EQ(t.Groups()[0].Methods[0].Text, "Числа тиража");
}

TEST(FavoritesTree, MarksBecomeFavourites)
{
    struct Case {
        const char* what;
        void (*edit)(TFavoritesTree&);
        const char* favorites;   // GetFavorites after confirmation
        bool all;
    };
    const std::vector<Case> cases = {
        {"none marked means all", [](TFavoritesTree& t) { t.MarkAll(false); }, "", true},
        {"all marked", [](TFavoritesTree& t) { t.MarkAll(true); }, "", true},
        {"one group off",
         [](TFavoritesTree& t) {
             t.MarkAll(true);
             t.MarkGroup(1, false);
         },
         "AA,CC1,CC2,DD", false},
        {"one group on",
         [](TFavoritesTree& t) {
             t.MarkAll(false);
             t.MarkGroup(0, true);
             t.MarkGroup(7, false);
         },
         "AA,CC1,CC2", false},
        {"a click",
         [](TFavoritesTree& t) {
             t.MarkAll(true);
             t.Toggle(0, 1);
             t.Toggle(0, 9);
             t.Toggle(5, 0);
         },
         "AA,BB,CC2,DD", false},
        {"two clicks",
         [](TFavoritesTree& t) {
             t.Toggle(2, 0);
             t.Toggle(2, 0);
         },
         "", true},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.tree.Build(f.list);
        c.edit(f.tree);
        f.tree.Apply(f.list);
        EXPECT_EQ(f.list.GetFavorites(), c.favorites) << c.what;
        EXPECT_EQ(f.list.AllFavorites, c.all) << c.what;
        if (c.all) {
            for (int i = 0; i < f.list.MethodCount(); ++i) EXPECT_TRUE(f.list.Method(i).Favorite) << c.what;
        }
    }
}

TEST(FavoritesTree, NamesAndOptions)
{
    Fixture f;
    f.list.Method(f.method("DD")).CustomCaption = "Старая дельта";
    f.tree.Build(f.list);
    f.tree.Rename(0, 0, "АЛЬФА");          // the default caption in other letter case
    f.tree.Rename(0, 1, "гамма 1 ");       // not equal: the blank counts
    f.tree.Rename(1, 0, "Мой бета");
    f.tree.ResetName(2, 0, f.list);        // back to "Дельта"
    f.tree.Rename(4, 0, "ничего");         // no such node
    f.tree.Ordered = true;
    f.tree.ShowGroupName = false;
    EXPECT_EQ(f.shape(), "[Разности между числами тиража] АЛЬФА* гамма 1 * Гамма 2*; [Числа тиража] Мой бета*; "
                         "[Сегменты матрицы тиража] Дельта*; ");
    f.tree.Apply(f.list);
    EXPECT_EQ(f.list.Method(f.method("AA")).CustomCaption, "");
    EXPECT_EQ(f.list.Method(f.method("CC1")).CustomCaption, "гамма 1 ");
    EXPECT_EQ(f.list.Method(f.method("BB")).CustomCaption, "Мой бета");
    EXPECT_EQ(f.list.Method(f.method("DD")).CustomCaption, "");
    EXPECT_TRUE(f.list.Ordered);
    EXPECT_FALSE(f.list.ShowGroupName);
    EXPECT_TRUE(f.list.ShowMethodFlags);

    const std::vector<std::tuple<const char*, const char*, bool>> same = {
        {"Числа тиража", "ЧИСЛА ТИРАЖА", true},
        {"Ёлка и ель", "ёЛКА И ЕЛЬ", true},
        {"Ёлка", "Елка", false},
        {"Сумма (Ч:Н)", "сумма (ч:н)", true},
        {"abc", "ABD", false},
        {"", "", true},
    };
    for (const auto& [a, b, eq] : same) EXPECT_EQ(filters::SameCaption(a, b), eq) << a << " / " << b;
}

TEST(FavoritesTree, ExportAndImportOfNames)
{
    test::TempDir dir;
    const auto own = dir / "Kvanta_8x20.flt";
    const auto file = dir / "names.flt";

    Fixture f;
    f.list.SetFavorites("AA,BB");
    f.list.Method(f.method("DD")).CustomCaption = "Своя дельта";
    ASSERT_TRUE(f.list.SaveFilterList(own, true, false, f.sh));
    f.tree.Build(f.list);
    f.tree.Rename(1, 0, "Экспортная бета");
    f.tree.Toggle(0, 0);   // AA unmarked in the window only

    ASSERT_TRUE(f.tree.ExportNames(f.list, file, own, f.sh));
    EXPECT_EQ(util::Cp1251ToUtf8(test::ReadBytes(file)),
              "[STRINGS_RUS]\r\nAA=Альфа\r\nBB=Экспортная бета\r\nCC1=Гамма 1\r\nCC2=Гамма 2\r\nDD=Своя дельта\r\n")
        << "a caption for every method, no favourites and no options";
    EXPECT_EQ(f.list.Method(f.method("BB")).CustomCaption, "") << "the saved names are back after the export";
    EXPECT_EQ(f.list.Method(f.method("DD")).CustomCaption, "Своя дельта");

    // Another installation imports the names: captions only.
    Fixture g;
    g.list.SetFavorites("CC1");
    g.tree.Build(g.list);
    g.tree.Toggle(2, 0);   // DD marked in the window
    ASSERT_TRUE(g.tree.ImportNames(g.list, file, g.sh));
    EXPECT_EQ(g.list.Method(g.method("BB")).CustomCaption, "Экспортная бета");
    EXPECT_EQ(g.list.Method(g.method("DD")).CustomCaption, "Своя дельта");
    EXPECT_EQ(g.list.GetFavorites(), "CC1");
    EXPECT_EQ(g.shape(), "[Разности между числами тиража] Альфа Гамма 1* Гамма 2; [Числа тиража] Экспортная бета; "
                         "[Сегменты матрицы тиража] Своя дельта*; ")
        << "new names, the window's marks kept";
    g.tree.Apply(g.list);
    EXPECT_EQ(g.list.Method(g.method("AA")).CustomCaption, "") << "an imported default caption is no custom one";
    EXPECT_EQ(g.list.Method(g.method("BB")).CustomCaption, "Экспортная бета");
    EXPECT_EQ(g.list.GetFavorites(), "CC1,DD");

    // A file that cannot be read is reported and changes nothing in the tree.
    EXPECT_FALSE(g.tree.ImportNames(g.list, dir.path(), g.sh));
    ASSERT_EQ(g.sh.messages.size(), 1u);
    EXPECT_EQ(g.sh.messages[0].text.rfind("Ошибка загрузки списка фильтров!\n\n", 0), 0u) << g.sh.messages[0].text;
    EXPECT_EQ(g.tree.Groups()[1].Methods[0].Text, "Экспортная бета");
}

} // namespace

namespace {

TEST(FavoritesCommands, ConfirmWritesTheProgramsList)
{
    test::TempDir dir;
    const auto own = dir / "Kvanta_8x20.flt";
    Fixture f;
    f.tree.Build(f.list);
    f.tree.Toggle(1, 0);                   // BB hidden
    f.tree.Rename(0, 2, "Моя гамма");      // CC2
    f.tree.Rename(2, 0, "ДЕЛЬТА");         // the default caption again
    f.tree.Ordered = true;
    f.tree.ShowMethodFlags = false;
    ASSERT_TRUE(filters::ConfirmFavorites(f.tree, f.list, own, f.sh));
    EXPECT_EQ(util::Cp1251ToUtf8(test::ReadBytes(own)),
              "[FILTERS]\r\nFavorites=AA,CC1,CC2,DD\r\nOrdered=1\r\nShowGroupName=1\r\nShowMethodFlags=0\r\n"
              "\r\n[STRINGS_RUS]\r\nCC2=Моя гамма\r\n");
    EXPECT_FALSE(f.list.IsShown(f.method("BB")));
    EXPECT_EQ(f.list.GetDisplayName(f.method("CC2"), true), "{ dif } Моя гамма");
    EXPECT_TRUE(f.sh.messages.empty());

    // Unmarking everything and confirming lists every method again.
    f.tree.MarkAll(false);
    ASSERT_TRUE(filters::ConfirmFavorites(f.tree, f.list, own, f.sh));
    EXPECT_TRUE(f.list.AllFavorites);
    EXPECT_NE(util::Cp1251ToUtf8(test::ReadBytes(own)).find("Favorites=\r\n"), std::string::npos);
    EXPECT_EQ(stats::BuildChoosers(f.list).Stat.size(), 5u);

    // A list that cannot be written is reported; the registry keeps what was confirmed.
    f.tree.Toggle(0, 0);   // AA alone of the unmarked tree
    EXPECT_FALSE(filters::ConfirmFavorites(f.tree, f.list, dir.path(), f.sh));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text.rfind("Ошибка сохранения списка фильтров!\n\n", 0), 0u) << f.sh.messages[0].text;
    EXPECT_EQ(f.list.GetFavorites(), "AA");
}

TEST(FavoritesCommands, ResetAsksAndKeepsCaptions)
{
    for (const bool yes : {false, true}) {
        test::TempDir dir;
        const auto own = dir / "Kvanta_8x20.flt";
        Fixture f;
        f.list.SetFavorites("AA,DD");
        f.list.Ordered = true;
        f.list.Method(f.method("BB")).CustomCaption = "Мой бета";
        ASSERT_TRUE(f.list.SaveFilterList(own, true, false, f.sh));
        const std::string before = test::ReadBytes(own);
        f.sh.answers = {yes};

        EXPECT_EQ(filters::ResetFavorites(f.list, own, f.sh), yes);
        ASSERT_EQ(f.sh.questions.size(), 1u);
        EXPECT_EQ(f.sh.questions[0].caption, "Подтверждение");
        EXPECT_EQ(f.sh.questions[0].text, "Вы действительно хотите сбросить список избранных фильтров?");
        if (!yes) {
            EXPECT_EQ(test::ReadBytes(own), before) << "No changes nothing";
            EXPECT_EQ(f.list.GetFavorites(), "AA,DD");
            EXPECT_FALSE(f.list.IsShown(f.method("BB")));
            continue;
        }
        EXPECT_TRUE(f.list.AllFavorites);
        for (int i = 0; i < f.list.MethodCount(); ++i) EXPECT_TRUE(f.list.Method(i).Favorite);
        EXPECT_EQ(util::Cp1251ToUtf8(test::ReadBytes(own)),
                  "[FILTERS]\r\nFavorites=\r\nOrdered=1\r\nShowGroupName=1\r\nShowMethodFlags=1\r\n"
                  "\r\n[STRINGS_RUS]\r\nBB=Мой бета\r\n");
        EXPECT_EQ(f.list.Method(f.method("BB")).CustomCaption, "Мой бета");
    }
}

TEST(FavoritesCommands, CancelledManagerKeepsImportedNames)
{
    test::TempDir dir;
    const auto own = dir / "Kvanta_8x20.flt";
    const auto names = dir / "names.flt";
    test::WriteBytes(names, util::Utf8ToCp1251("[STRINGS_RUS]\r\nAA=Чужая альфа\r\nDD= Дельта \r\n"));

    Fixture f;
    f.list.SetFavorites("AA,BB");
    const std::vector<std::string> before = filters::CustomCaptions(f.list);
    EXPECT_EQ(before, std::vector<std::string>(5));

    // Nothing imported: nothing written.
    EXPECT_FALSE(filters::KeepImportedNames(f.list, before, own, f.sh));
    EXPECT_FALSE(std::filesystem::exists(own));

    f.tree.Build(f.list);
    f.tree.Toggle(0, 0);   // a mark of the cancelled window: never applied
    ASSERT_TRUE(f.tree.ImportNames(f.list, names, f.sh));
    EXPECT_TRUE(filters::KeepImportedNames(f.list, before, own, f.sh));
    EXPECT_EQ(util::Cp1251ToUtf8(test::ReadBytes(own)),
              "[FILTERS]\r\nFavorites=AA,BB\r\nOrdered=0\r\nShowGroupName=1\r\nShowMethodFlags=1\r\n"
              "\r\n[STRINGS_RUS]\r\nAA=Чужая альфа\r\nDD=Дельта\r\n");
}

} // namespace
