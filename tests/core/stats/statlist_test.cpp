#include <gtest/gtest.h>

#include "tests/core/stats/numberkinds.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/game/counting.h"
#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::stats;

namespace {

// A statistic that computes nothing: enough for the registry, which only creates instances.
class ProbeStat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    bool CombMatches(const game::TComb&, const TStatDrawArray&, int, bool, bool) override { return false; }
};

std::unique_ptr<TCustomStat> createProbe(const TStatKind& kind, const TStatEnv& env, int32_t param)
{
    return std::make_unique<ProbeStat>(kind, env, param);
}

// Kinds whose parameter range follows the settings, as the channel, column and row kinds do.
const TStatKind ChannelKind({.Position = 104, .ClassName = "TstChnValCnt", .Code = "CHN%d",
                             .Caption = "Количество чисел в %0:d канале", .Group = GroupChannels, .Flags = FlagN,
                             .Graph = true, .HasParam = true,
                             .ParamRange = [](const TConfigData& c) {
                                 return c.ChannelSize > 0 ? std::pair{1, game::CeilDiv(20, c.ChannelSize)}
                                                          : std::pair{1, 0};
                             },
                             .Create = createProbe});
const TStatKind ColumnKind({.Position = 105, .ClassName = "TstColValCnt", .Code = "COL%d",
                            .Caption = "Количество чисел в %0:d столбце матрицы", .Group = GroupMatrix, .Flags = FlagN,
                            .Graph = true, .HasParam = true,
                            .ParamRange = [](const TConfigData& c) { return std::pair{1, c.MatrixCols}; },
                            .Create = createProbe});
const TStatKind RowKind({.Position = 106, .ClassName = "TstRowValCnt", .Code = "ROW%d",
                         .Caption = "Количество чисел в %0:d строке матрицы", .Group = GroupMatrix, .Flags = FlagN,
                         .Graph = true, .HasParam = true,
                         .ParamRange = [](const TConfigData& c) {
                             return std::pair{1, game::GroupCount(1, 20, c.MatrixCols)};
                         },
                         .Create = createProbe});
const TStatKind ShreddingKind({.Position = 143, .ClassName = "TstShreddingStat", .Code = "SHR%d",
                               .Caption = "Метод шинковки %0:d: %%s", .HelpCode = "SHRx", .Group = GroupShredding,
                               .Flags = FlagS | FlagN, .Graph = true, .HasParam = true,
                               .ParamRange = [](const TConfigData&) { return std::pair{1, 4}; },
                               .Create = createProbe});
const TStatKind PlainKind({.Position = 43, .ClassName = "TstPlain", .Code = "PLNS", .Caption = "Без флагов",
                           .Group = GroupRepeats, .Flags = 0, .Create = createProbe});
const TStatKind HiddenKind({.Position = 72, .ClassName = "TstHidden", .Code = "HIDE", .Caption = "Скрытый",
                            .Available = false, .Create = createProbe});
const TStatKind ParamZeroKind({.Position = 50, .ClassName = "TstZero", .Code = "ZER%d", .Caption = "Ноль %d",
                               .Group = GroupSums, .HasParam = true,
                               .ParamRange = [](const TConfigData&) { return std::pair{0, 0}; },
                               .Create = createProbe});

std::vector<std::string> methodCodes(const TStatList& list)
{
    std::vector<std::string> codes;
    for (int i = 0; i < list.MethodCount(); ++i) codes.push_back(list.Method(i).MethodCode());
    return codes;
}

std::vector<std::string> favoriteCodes(const TStatList& list)
{
    std::vector<std::string> codes;
    for (int i = 0; i < list.MethodCount(); ++i)
        if (list.Method(i).Favorite) codes.push_back(list.Method(i).MethodCode());
    return codes;
}

std::vector<std::string> shownCodes(const TStatList& list)
{
    std::vector<std::string> codes;
    for (int i = 0; i < list.MethodCount(); ++i)
        if (list.IsShown(i)) codes.push_back(list.Method(i).MethodCode());
    return codes;
}

TStatList builtList()
{
    TStatList list;
    list.BuildMethodList(kv::test::NumberKinds());
    return list;
}

std::string nameOf(const TStatList& list, const char* code, bool withFlags = true)
{
    const int i = list.FindMethod(code);
    EXPECT_GE(i, 0) << code;
    return i < 0 ? std::string() : list.GetDisplayName(i, withFlags);
}

} // namespace

TEST(StatList, ParameterRangesFollowTheSettingsAtBuildTime)
{
    struct Case {
        int channelSize;
        int matrixCols;
        std::vector<std::string> codes;
    };
    const std::vector<Case> cases = {
        {4, 4, {"CHN1", "CHN2", "CHN3", "CHN4", "CHN5", "COL1", "COL2", "COL3", "COL4", "ROW1", "ROW2", "ROW3", "ROW4", "ROW5"}},
        {5, 5, {"CHN1", "CHN2", "CHN3", "CHN4", "COL1", "COL2", "COL3", "COL4", "COL5", "ROW1", "ROW2", "ROW3", "ROW4"}},
        {20, 20, {"CHN1", "COL1", "COL2", "COL3", "COL4", "COL5", "COL6", "COL7", "COL8", "COL9", "COL10", "COL11",
                  "COL12", "COL13", "COL14", "COL15", "COL16", "COL17", "COL18", "COL19", "COL20", "ROW1"}},
        {3, 1, {"CHN1", "CHN2", "CHN3", "CHN4", "CHN5", "CHN6", "CHN7", "COL1", "ROW1", "ROW2", "ROW3", "ROW4",
                "ROW5", "ROW6", "ROW7", "ROW8", "ROW9", "ROW10", "ROW11", "ROW12", "ROW13", "ROW14", "ROW15",
                "ROW16", "ROW17", "ROW18", "ROW19", "ROW20"}},
        // Last < First registers nothing.
        {0, 0, {}},
        {-2, -1, {}},
    };
    const std::vector<const TStatKind*> kinds = {&ChannelKind, &ColumnKind, &RowKind};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ChannelSize " << c.channelSize << ", MatrixCols " << c.matrixCols);
        TStatList list;
        list.Config().ChannelSize = c.channelSize;
        list.Config().MatrixCols = c.matrixCols;
        list.BuildMethodList(kinds);
        EXPECT_EQ(methodCodes(list), c.codes);
        for (int i = 0; i < list.MethodCount(); ++i) {
            EXPECT_EQ(list.Method(i).MethodCode(), list.Method(i).Kind->FormatCode(list.Method(i).Param));
            EXPECT_TRUE(list.Method(i).Favorite);
        }
    }

    // The range is taken when the list is built, not when it is read.
    TStatList list;
    list.BuildMethodList(kinds);
    list.Config().ChannelSize = 10;
    EXPECT_EQ(list.MethodCount(), 14);
    list.BuildMethodList(kinds);
    EXPECT_EQ(methodCodes(list), (std::vector<std::string>{"CHN1", "CHN2", "COL1", "COL2", "COL3", "COL4", "ROW1",
                                                           "ROW2", "ROW3", "ROW4", "ROW5"}));
}

TEST(StatList, KindsWithoutParameterUnavailableKindsAndTheGivenOrder)
{
    TStatList list;
    list.BuildMethodList({&ParamZeroKind, &HiddenKind, &PlainKind, &ShreddingKind});
    ASSERT_EQ(methodCodes(list), (std::vector<std::string>{"ZER0", "PLNS", "SHR1", "SHR2", "SHR3", "SHR4"}));
    EXPECT_EQ(list.Method(0).Param, 0) << "a parameter range (0, 0) is one method with parameter 0";
    EXPECT_EQ(list.Method(1).Param, 0);
    EXPECT_EQ(list.FindMethod("HIDE"), -1);
}

TEST(StatList, BuildResetsOptionsAndMarks)
{
    TStatList list = builtList();
    list.Ordered = true;
    list.ShowGroupName = false;
    list.ShowMethodFlags = false;
    list.SetFavorites("NUMS");
    list.Method(0).CustomCaption = "Своя";
    list.BuildMethodList(kv::test::NumberKinds());
    EXPECT_FALSE(list.Ordered);
    EXPECT_TRUE(list.ShowGroupName);
    EXPECT_TRUE(list.ShowMethodFlags);
    EXPECT_TRUE(list.AllFavorites);
    EXPECT_EQ(list.MethodCount(), 17) << "the old methods are gone, not kept beside the new ones";
    EXPECT_TRUE(list.Method(0).CustomCaption.empty());
    EXPECT_EQ(list.GetFavorites(), "");
}

TEST(StatList, ShreddingMethodsTakeTheFormulasOfBuildTime)
{
    TStatList list;
    list.Shredding().Formula2 = "n1*n2";
    list.BuildMethodList({&ShreddingKind});
    ASSERT_EQ(list.MethodCount(), 4);
    EXPECT_EQ(list.Method(0).Formula, "(n1+n2+n3+n4)/(n5+n6+n7+n8)");
    EXPECT_EQ(list.Method(1).Formula, "n1*n2");
    EXPECT_EQ(list.Method(2).Formula, "(n1+n3+n5+n7)/(n2+n4+n6+n8)");
    EXPECT_EQ(list.Method(3).Formula, "") << "only parameters 1..3 have a formula";
    list.Shredding().Formula1 = "n8";
    EXPECT_EQ(list.Method(0).Formula, "(n1+n2+n3+n4)/(n5+n6+n7+n8)") << "kept until the next build";

    // Formulas belong to group 12 only.
    TStatList other;
    other.BuildMethodList({&ChannelKind});
    for (int i = 0; i < other.MethodCount(); ++i) EXPECT_EQ(other.Method(i).Formula, "");
}

TEST(StatList, DisplayNames)
{
    TStatList list = builtList();
    TStatList probes;
    probes.BuildMethodList({&PlainKind, &ShreddingKind, &ChannelKind});
    probes.Method(probes.FindMethod("SHR2")).CustomCaption = "Моя формула: %s!";
    probes.Method(probes.FindMethod("SHR3")).CustomCaption = "100% без формулы";

    struct Case {
        TStatList* list;
        const char* code;
        bool groupName;
        bool flags;
        bool withFlags;
        const char* name;
    };
    const std::vector<Case> cases = {
        {&list, "EVEN", true, true, true, "{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]"},
        {&list, "POS3", true, true, true, "{ num } Число в 3 позиции тиража [ SNG ]"},
        {&list, "NUMS", true, true, true, "{ num } Числа тиража [ N ]"},
        {&list, "EVNV", true, true, true, "{ num } Четные и нечетные числа в тираже (Чн..нЧ) [ SN ]"},
        {&list, "POE1", true, true, true, "{ num } Extra (Bonus, Star...) - число (!без фильтра!) [ G ]"},
        {&list, "POS3", true, true, false, "{ num } Число в 3 позиции тиража"},
        {&list, "POS3", false, true, true, "Число в 3 позиции тиража [ SNG ]"},
        {&list, "POS3", true, false, true, "{ num } Число в 3 позиции тиража"},
        {&list, "POS3", false, false, true, "Число в 3 позиции тиража"},
        {&probes, "PLNS", true, true, true, "{ rep } Без флагов"},
        {&probes, "SHR1", true, true, true, "{ shr } Метод шинковки 1: (n1+n2+n3+n4)/(n5+n6+n7+n8) [ SNG ]"},
        {&probes, "SHR4", true, true, true, "{ shr } Метод шинковки 4:  [ SNG ]"},
        {&probes, "SHR2", false, false, false, "Моя формула: (n5+n6+n7+n8)/(n1+n2+n3+n4)!"},
        // A user's caption that is not a valid template stays text.
        {&probes, "SHR3", false, false, false, "100% без формулы"},
        {&probes, "CHN2", true, true, true, "{ grp } Количество чисел в 2 канале [ NG ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStatList& l = *c.list;
        l.ShowGroupName = c.groupName;
        l.ShowMethodFlags = c.flags;
        EXPECT_EQ(nameOf(l, c.code, c.withFlags), c.name);
    }
}

TEST(StatList, CustomCaptionReplacesTheKindsCaption)
{
    TStatList list = builtList();
    TStatMethod& m = list.Method(list.FindMethod("POS3"));
    m.CustomCaption = "Третья позиция";
    EXPECT_EQ(m.DefaultCaption(), "Число в 3 позиции тиража");
    EXPECT_EQ(m.MethodCaption(), "Третья позиция");
    EXPECT_EQ(m.DisplayCaption(), "Третья позиция");
    EXPECT_EQ(nameOf(list, "POS3"), "{ num } Третья позиция [ SNG ]");
    EXPECT_EQ(nameOf(list, "POS4"), "{ num } Число в 4 позиции тиража [ SNG ]");
}

TEST(StatList, FindAndCreate)
{
    const TStatList list = builtList();
    struct Case {
        const char* code;
        int index;
    };
    for (const Case& c : std::vector<Case>{{"NUMS", 0}, {"PRMV", 7}, {"POS1", 8}, {"POS3", 10}, {"POE1", 16},
                                          {"pos3", -1}, {"POS", -1}, {"POS9", -1}, {"POS%d", -1}, {"", -1}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(list.FindMethod(c.code), c.index);
    }

    const auto stat = list.CreateStat(10);
    ASSERT_NE(stat, nullptr);
    EXPECT_EQ(stat->Param(), 3);
    EXPECT_EQ(&stat->Kind(), list.Method(10).Kind);
    EXPECT_EQ(&stat->Env(), &list.Env()) << "instances read the registry's settings and draws";
    EXPECT_EQ(stat->GetName(), "Число в 3 позиции тиража");

    TStatList probes;
    probes.Config().ChannelSize = 5;
    probes.BuildMethodList({&ChannelKind});
    const auto probe = probes.CreateStat(3);
    EXPECT_EQ(probe->Param(), 4);
    EXPECT_EQ(probe->GetName(), "Количество чисел в 4 канале");
}

TEST(StatList, Favorites)
{
    struct Case {
        const char* text;
        bool all;
        std::vector<std::string> favorites;
        const char* saved;
    };
    const std::vector<std::string> everything = methodCodes(builtList());
    const std::vector<Case> cases = {
        {"", true, everything, ""},
        {" \t ", true, everything, ""},
        {"NUMS,EVEN", false, {"NUMS", "EVEN"}, "NUMS,EVEN"},
        // The words are not trimmed: " EVEN" names no method; unknown words are written back.
        {"NUMS, EVEN", false, {"NUMS"}, "NUMS, EVEN"},
        {"even,nums,Pos3", false, {"NUMS", "EVEN", "POS3"}, "NUMS,EVEN,POS3"},
        {"POS8,,POE1,", false, {"POS8", "POE1"}, "POS8,POE1"},
        // Naming no known method shows them all, and the file keeps what it said.
        {" NUMS", true, everything, " NUMS"},
        {"POS", true, everything, "POS"},
        {"NUMS;EVEN", true, everything, "NUMS;EVEN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        TStatList list = builtList();
        list.SetFavorites("PRIM"); // a state the call must replace completely
        list.SetFavorites(c.text);
        EXPECT_EQ(list.AllFavorites, c.all);
        EXPECT_EQ(favoriteCodes(list), c.favorites);
        EXPECT_EQ(shownCodes(list), c.favorites);
        EXPECT_EQ(list.GetFavorites(), c.saved);
    }
}

TEST(StatList, AllFavoritesShowEveryMethodWhateverTheMarks)
{
    TStatList list = builtList();
    EXPECT_EQ(list.GetFavorites(), "");
    list.Method(3).Favorite = false;
    EXPECT_TRUE(list.IsShown(3)) << "AllFavorites wins over the mark";
    EXPECT_EQ(list.GetFavorites(), "");
    list.SetFavorites("DIGS");
    list.SetAllFavorites();
    EXPECT_TRUE(list.AllFavorites);
    EXPECT_EQ(favoriteCodes(list), methodCodes(list));
}

TEST(StatList, NormalizeFavorites)
{
    struct Case {
        const char* name;
        std::vector<int> unmarked; // indexes set false; every other mark true
        bool allFalse;
        bool all;
        int favorites;
    };
    const std::vector<Case> cases = {
        {"every mark false", {}, true, true, 17},
        {"every mark true", {}, false, true, 17},
        {"first differs", {0}, false, false, 16},
        {"last differs", {16}, false, false, 16},
        {"mixed", {1, 2, 3}, false, false, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStatList list = builtList();
        list.AllFavorites = !c.all; // must be replaced, not kept
        for (int i = 0; i < list.MethodCount(); ++i) list.Method(i).Favorite = !c.allFalse;
        for (int i : c.unmarked) list.Method(i).Favorite = false;
        list.NormalizeFavorites();
        EXPECT_EQ(list.AllFavorites, c.all);
        EXPECT_EQ(static_cast<int>(favoriteCodes(list).size()), c.favorites);
        for (int i : c.unmarked) EXPECT_FALSE(list.Method(i).Favorite) << "marks stay when they differ";
    }

    TStatList empty;
    empty.AllFavorites = false;
    empty.NormalizeFavorites();
    EXPECT_TRUE(empty.AllFavorites);
}

TEST(StatList, GroupNames)
{
    struct Case {
        int group;
        const char* name;
    };
    for (const Case& c : std::vector<Case>{{0, "{ num } Числа тиража"},
                                          {3, "{ grp } Каналы (группы чисел)"},
                                          {12, "{ shr } Методы шинковки"},
                                          {13, "#ERROR#"},
                                          {-1, "#ERROR#"}}) {
        SCOPED_TRACE(c.group);
        EXPECT_EQ(GroupName(c.group), c.name);
    }
}

TEST(StatList, Choosers)
{
    const std::vector<std::string> listOrder = {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "POS1",
                                                "POS2", "POS3", "POS4", "POS5", "POS6", "POS7", "POS8", "POE1"};
    const std::vector<std::string> graphOrder = {"EVEN", "SMAL", "PRIM", "POS1", "POS2", "POS3", "POS4",
                                                 "POS5", "POS6", "POS7", "POS8", "POE1"};
    // By the UTF-8 name: the Latin "Extra" first, then the Cyrillic captions; "Число в 1.." after
    // "Числа тиража".
    const std::vector<std::string> nameOrder = {"POE1", "PRIM", "EVEN", "SMAL", "PRMV", "DIGS", "EVNV", "SMLV", "NUMS",
                                                "POS1", "POS2", "POS3", "POS4", "POS5", "POS6", "POS7", "POS8"};
    const std::vector<std::string> graphNameOrder = {"POE1", "PRIM", "EVEN", "SMAL", "POS1", "POS2", "POS3",
                                                     "POS4", "POS5", "POS6", "POS7", "POS8"};
    struct Case {
        const char* name;
        bool ordered;
        const char* favorites;
        std::vector<std::string> stat;
        std::vector<std::string> graph;
    };
    const std::vector<Case> cases = {
        {"list order", false, "", listOrder, graphOrder},
        {"by name", true, "", nameOrder, graphNameOrder},
        {"favourites only", false, "POS2,NUMS,DIGS,POE1", {"NUMS", "DIGS", "POS2", "POE1"}, {"POS2", "POE1"}},
        {"favourites by name", true, "POS2,NUMS,DIGS,POE1", {"POE1", "DIGS", "NUMS", "POS2"}, {"POE1", "POS2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStatList list = builtList();
        list.SetFavorites(c.favorites);
        list.Ordered = c.ordered;
        const TChoosers ch = BuildChoosers(list);
        const auto codes = [&](const std::vector<TChooserEntry>& entries) {
            std::vector<std::string> r;
            for (const TChooserEntry& e : entries) {
                EXPECT_EQ(e.Name, list.GetDisplayName(e.Method, true));
                r.push_back(list.Method(e.Method).MethodCode());
            }
            return r;
        };
        EXPECT_EQ(codes(ch.Stat), c.stat);
        EXPECT_EQ(codes(ch.Graph), c.graph);
    }
}

TEST(StatList, OrderedChoosersKeepListOrderBetweenEqualNames)
{
    TStatList list = builtList();
    for (const char* code : {"POS5", "NUMS", "POS2"}) list.Method(list.FindMethod(code)).CustomCaption = "Аа";
    list.ShowMethodFlags = false; // equal names need equal flag letters too
    list.Ordered = true;
    const TChoosers ch = BuildChoosers(list);
    ASSERT_EQ(ch.Stat.size(), 17u);
    // "Extra ..." comes first (Latin before Cyrillic), then the three equal names.
    std::vector<std::string> equal;
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(ch.Stat[i].Name, "{ num } Аа");
        equal.push_back(list.Method(ch.Stat[i].Method).MethodCode());
    }
    EXPECT_EQ(equal, (std::vector<std::string>{"NUMS", "POS2", "POS5"}));
}

TEST(StatList, NoMethodChosenText)
{
    EXPECT_EQ(NoMethodChosenText("cbDrawsStatType"), "Не выбран метод расчета статистики (cb: cbDrawsStatType)!");
    EXPECT_EQ(NoMethodChosenText("100%"), "Не выбран метод расчета статистики (cb: 100%)!");
}

TEST(StatList, HelpAddressOfAMethod)
{
    kv::test::TempDir dir;
    TStatList list;
    list.Config().ChannelSize = 5;
    list.BuildMethodList({&ShreddingKind, &ChannelKind, &PlainKind});
    const int shr2 = list.FindMethod("SHR2"), chn4 = list.FindMethod("CHN4"), plain = list.FindMethod("PLNS");
    EXPECT_EQ(list.GetHelpURL(shr2), "") << "no help file";

    list.Env().HelpFile = (dir / "index.html").string();
    EXPECT_EQ(list.GetHelpURL(plain), "") << "a help file that is not there";

    kv::test::WriteBytes(dir / "index.html", "<html>");
    const std::string prefix = "file://" + dir.path().string() + "/";
    EXPECT_EQ(list.GetHelpURL(shr2), prefix + "shredding.html#SHRx") << "the family's page";
    EXPECT_EQ(list.GetHelpURL(chn4), prefix + "channels.html#CHNx") << "no help code: the code with x";
    EXPECT_EQ(list.GetHelpURL(plain), prefix + "repeats.html#PLNS");
}

TEST(StatList, FavouritesNamingOnlyUnknownMethodsKeepTheirMeaningOverASave)
{
    test::TempDir dir;
    const auto file = dir / "Kvanta_8x20.flt";
    test::WriteBytes(file, test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "favorites-unknown.flt"));
    TStatList list = builtList();
    test::ScriptedShell shell;
    ASSERT_TRUE(list.LoadFilterList(file, true, shell));
    EXPECT_TRUE(list.AllFavorites) << "nothing known is named: every method is shown";
    EXPECT_EQ(BuildChoosers(list).Stat.size(), BuildChoosers(builtList()).Stat.size());
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "Список избранных фильтров в файле \"Kvanta_8x20.flt\" называет неизвестные методы: XNEW1, XNEW2. "
              "Они пропущены и сохраняются в файле без изменений.");
    ASSERT_TRUE(list.SaveFilterList(file, true, false, shell));
    EXPECT_NE(test::ReadBytes(file).find("Favorites=XNEW1,XNEW2\r\n"), std::string::npos) << test::ReadBytes(file);
}
