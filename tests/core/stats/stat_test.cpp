#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/stats/stat.h"
#include "tests/support/support.h"

using namespace kv::stats;
using kv::game::TComb;
using kv::game::TDraw;
using kv::game::TDrawsArray;

namespace {

TDraw MakeDraw(int drawNo, TComb nums, int extra = 1)
{
    TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    d.SetDateText("01.02.2020 10:05");
    return d;
}

// A minimal kind for the base behaviours: its value is the first number of the draw, and a
// second value counts the draws evaluated with the same work area.
class TstFirstNumber : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        seenCur = Cur;
        Cur.Key[0] = CurDraw.Nums[0];
        AddCur(values, true);
        ++work[0].RunLength;
        Cur.Key = {int16_t(work[0].RunLength), 1, 0, 0};
        AddCur(values, true);
    }
    void CalcComb(const TComb& comb, TStatDrawArray& values) override
    {
        TCustomStat::CalcComb(comb, values);
        seenCur = Cur;
        Cur.Key[0] = comb[0];
        AddCur(values, false);
    }
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return marked.HasValue(comb[0]);
    }
    TStatDrawItem seenCur{};   // Cur as the common part left it
};

template <class T>
TStatKind::Factory Factory()
{
    return [](const TStatKind& k, const TStatEnv& e, int32_t p) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<T>(k, e, p);
    };
}

const TStatKind RefKind({.Position = 900, .ClassName = "TstFirstNumber", .Code = "TSTD", .Caption = "Первое число",
                         .Group = GroupRepeats, .Flags = FlagD, .Create = Factory<TstFirstNumber>()});
const TStatKind PlainKind({.Position = 901, .ClassName = "TstFirstNumber", .Code = "TSTP", .Caption = "Первое число",
                           .Group = GroupNumbers, .Flags = FlagN, .NumericValue = false, .Create = Factory<TstFirstNumber>()});

struct Fixture {
    TDrawsArray draws = {
        MakeDraw(100, {15, 3, 9, 1, 20, 11, 4, 7}, 2),
        MakeDraw(101, {2, 5, 6, 8, 10, 12, 14, 16}, 3),
        MakeDraw(105, {15, 1, 2, 3, 4, 5, 6, 7}, 4),
        MakeDraw(106, {9, 8, 7, 6, 5, 4, 3, 2}, 1),
    };
    TStatEnv env;
    Fixture() { env.Draws = &draws; }
    std::unique_ptr<TstFirstNumber> Create(const TStatKind& kind, int param = 0)
    {
        return std::unique_ptr<TstFirstNumber>(static_cast<TstFirstNumber*>(kind.Create(env, param).release()));
    }
};

TEST(StatKind, FlagLetters)
{
    struct Case {
        unsigned flags;
        const char* letters;
    };
    const std::vector<Case> cases = {
        {0, ""},
        {FlagS | FlagN | FlagG, "SNG"},
        {FlagG | FlagS | FlagN, "SNG"},
        {FlagD | FlagP, "DP"},
        {FlagS | FlagN | FlagD | FlagP | FlagG, "SNDPG"},
        {FlagG, "G"},
        {1u << 5, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FlagLetters(c.flags), c.letters) << c.flags;
}

TEST(StatKind, Groups)
{
    std::string ids;
    for (int g = 0; g < GroupCountTotal; ++g) ids += std::string(GroupId(g)) + " ";
    EXPECT_EQ(ids, "num sum dif grp mtx sgm seq rep ser per mov krv shr ");

    struct Case {
        int group;
        const char* name;
    };
    const std::vector<Case> cases = {
        {0, "{ num } Числа тиража"},
        {1, "{ sum } Сумма чисел тиража"},
        {2, "{ dif } Разности между числами тиража"},
        {3, "{ grp } Каналы (группы чисел)"},
        {4, "{ mtx } Матрица тиража"},
        {5, "{ sgm } Сегменты матрицы тиража"},
        {6, "{ seq } Последовательности чисел в одном тираже"},
        {7, "{ rep } Повторяющиеся числа в нескольких тиражах"},
        {8, "{ ser } Серии (цепочки) значений"},
        {9, "{ per } Периоды повторения значений"},
        {10, "{ mov } Переходы (изменения) значений между тиражами"},
        {11, "{ krv } Характеристическое число Карвела"},
        {12, "{ shr } Методы шинковки"},
        {13, "#ERROR#"},
        {-1, "#ERROR#"},
    };
    for (const Case& c : cases) EXPECT_EQ(GroupName(c.group), c.name) << c.group;
    EXPECT_EQ(GroupId(13), "");
    EXPECT_EQ(GroupCaption(-1), "");
}

TEST(StatKind, KindOperations)
{
    const TStatKind pos({.Code = "POS%d", .Caption = "Число в %0:d позиции тиража", .HelpCode = "POSx",
                         .Flags = FlagS | FlagN, .Graph = true, .HasParam = true,
                         .ParamRange = [](const TConfigData&) { return std::pair<int, int>(1, 8); }});
    const TStatKind sum({.Code = "SUM%d", .Caption = "Сумма тиража: диапазон %d (%d/%d)", .HasParam = true});
    const TStatKind nums({.Code = "NUMS", .Caption = "Числа тиража", .Flags = FlagN,
                          .ParamRange = [](const TConfigData&) { return std::pair<int, int>(1, 8); }});
    const TStatKind shr({.Code = "SHR%d", .Caption = "Метод шинковки %0:d: %%s"});

    EXPECT_EQ(nums.FormatCode(0), "NUMS");
    EXPECT_EQ(nums.FormatCode(7), "NUMS");
    EXPECT_EQ(pos.FormatCode(8), "POS8");
    EXPECT_EQ(pos.FormatCode(3), "POS3");
    EXPECT_EQ(pos.FormatCaption(3), "Число в 3 позиции тиража");
    EXPECT_EQ(nums.FormatCaption(3), "Числа тиража");
    EXPECT_EQ(shr.FormatCaption(2), "Метод шинковки 2: %s");
    EXPECT_EQ(pos.GetHelpCode(), "POSx");
    EXPECT_EQ(sum.GetHelpCode(), "SUM%d");

    EXPECT_EQ(FlagLetters(pos.GetMethodFlags()), "SNG");
    EXPECT_EQ(FlagLetters(pos.GetFlags()), "SN");
    EXPECT_EQ(FlagLetters(nums.GetMethodFlags()), "N");
    EXPECT_TRUE(nums.HasPrefetch());
    EXPECT_FALSE(sum.HasPrefetch());

    const TConfigData config;
    EXPECT_EQ(pos.GetParamRange(config), std::make_pair(1, 8));
    EXPECT_EQ(nums.GetParamRange(config), std::make_pair(0, 0));   // no parameter: no range
    EXPECT_EQ(sum.GetParamRange(config), std::make_pair(0, 0));
    EXPECT_EQ(nums.Create(TStatEnv{}, 0), nullptr);
}

TEST(StatKind, HelpURL)
{
    kv::test::TempDir dir;
    const std::string help = (dir / "Kvanta 8x20" / "index.html").string();
    std::filesystem::create_directories(dir / "Kvanta 8x20");
    kv::test::WriteBytes(help, "<html>");
    const std::string pages = "file://" + (dir / "Kvanta 8x20").string() + "/";
    const TStatKind pos({.Code = "POS%d", .HelpCode = "POSx", .HasParam = true});
    const TStatKind sum({.Code = "SUM%d", .Group = GroupSums, .HasParam = true});
    const TStatKind nums({.Code = "NUMS"});
    const TStatKind pairs({.Code = "KNP2%d", .HelpCode = "KNP2", .HasParam = true});
    const TStatKind shr({.Code = "SHR%d", .HelpCode = "SHRx", .Group = GroupShredding, .HasParam = true});

    EXPECT_EQ(pos.GetHelpURL(3, help), pages + "numbers.html#POSx");
    EXPECT_EQ(sum.GetHelpURL(2, help), pages + "sums.html#SUMx");
    EXPECT_EQ(nums.GetHelpURL(0, help), pages + "numbers.html#NUMS");
    EXPECT_EQ(pairs.GetHelpURL(5, help), pages + "tuples.html#KNP2");
    EXPECT_EQ(shr.GetHelpURL(1, help), pages + "shredding.html#SHRx");
    EXPECT_EQ(pos.GetHelpURL(3, ""), "");
    EXPECT_EQ(pos.GetHelpURL(3, (dir / "missing" / "index.html").string()), "");
}

TEST(CustomStat, CreateKeepsParameterAndName)
{
    Fixture f;
    auto stat = f.Create(RefKind, 4);
    ASSERT_NE(stat, nullptr);
    EXPECT_EQ(stat->Param(), 4);
    EXPECT_EQ(&stat->Kind(), &RefKind);
    EXPECT_EQ(stat->GetName(), "Первое число");
    EXPECT_EQ(stat->CurDraw, TDraw{});
    EXPECT_EQ(stat->RefDraw, TDraw{});
    EXPECT_EQ(stat->Cur, TStatDrawItem{});
}

TEST(CustomStat, LoadDraws)
{
    Fixture f;
    auto d = f.Create(RefKind);
    TDraw sortedLast = f.draws[3];
    sortedLast.Nums = {2, 3, 4, 5, 6, 7, 8, 9};

    // The filter pass: no current draw, the reference is the sorted last draw of the window.
    d->LoadDraws(-1, 3, true);
    EXPECT_EQ(d->CurDraw, TDraw{});
    EXPECT_EQ(d->RefDraw, sortedLast);

    d->LoadDraws(0, 3, false);
    EXPECT_EQ(d->CurDraw, f.draws[0]);
    EXPECT_EQ(d->RefDraw, f.draws[3]);

    d->LoadDraws(0, 4, true);   // sorting keeps number, extra and date
    TDraw sortedFirst = f.draws[0];
    sortedFirst.Nums = {1, 3, 4, 7, 9, 11, 15, 20};
    EXPECT_EQ(d->CurDraw, sortedFirst);
    EXPECT_EQ(d->RefDraw, TDraw{});

    // Without flag D the reference draw stays what it was.
    auto p = f.Create(PlainKind);
    p->RefDraw = f.draws[1];
    p->LoadDraws(2, 0, false);
    EXPECT_EQ(p->CurDraw, f.draws[2]);
    EXPECT_EQ(p->RefDraw, f.draws[1]);

    TDrawsArray none;
    TStatEnv emptyEnv;
    emptyEnv.Draws = &none;
    auto e = RefKind.Create(emptyEnv, 0);
    e->CurDraw = f.draws[0];
    e->LoadDraws(0, 0, true);
    EXPECT_EQ(e->CurDraw, TDraw{});
    EXPECT_EQ(e->RefDraw, TDraw{});
}

TEST(CustomStat, CommonPartsOfTheSlots)
{
    Fixture f;
    auto s = f.Create(PlainKind);
    TStatDrawArray values;
    TLastValueArray lastValues;
    TWorkArea work{};

    s->Cur.Count = 9;
    s->Cur.Key = {1, 2, 3, 4};
    s->ListValues(3, values);
    EXPECT_EQ(s->Cur, TStatDrawItem{});
    EXPECT_TRUE(values.Empty());

    s->CalcDraw(1, 3, false, values, lastValues, work);
    TStatDrawItem expected;
    expected.LastDrawNo = 101;
    expected.PrevDrawNo = 101;
    expected.Depth = 3;
    expected.Count = 1;
    EXPECT_EQ(s->seenCur, expected);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values[0].Key[0], 2);
    EXPECT_EQ(values[0].LastDrawNo, 101);
    EXPECT_EQ(values[0].Depth, 3);
    EXPECT_EQ(work[0].RunLength, 1);

    // Outside the archive the draw is empty: number 0, value 0.
    values.Clear();
    s->CalcDraw(7, 3, false, values, lastValues, work);
    expected = TStatDrawItem{};
    expected.Depth = -3;
    expected.Count = 1;
    EXPECT_EQ(s->seenCur, expected);
    EXPECT_EQ(values[0].Key[0], 0);

    s->Cur.LastDrawNo = 5;
    s->CalcComb({4, 5, 6, 7, 8, 9, 10, 11}, values);
    expected = TStatDrawItem{};
    expected.Count = 1;
    EXPECT_EQ(s->seenCur, expected);

    EXPECT_EQ(s->GetGraphValue({1, 2, 3, 4, 5, 6, 7, 8}, 0, 0, false), 0);
    EXPECT_EQ(s->GetDrawGraphValue(0, 3, false), 0);
}

TEST(CustomStat, TextToValueAndParseValue)
{
    Fixture f;
    auto numeric = f.Create(RefKind);
    auto other = f.Create(PlainKind);   // HasNumericValue false
    struct Case {
        const char* text;
        int32_t value;
    };
    const std::vector<Case> cases = {{"12", 12}, {" 7 ", 7}, {"-3", -3},         {"abc", 0},
                                     {"", 0},    {"3:5", 0}, {"2147483648", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(numeric->TextToValue(c.text), c.value) << c.text;
        EXPECT_EQ(numeric->ParseValue(c.text), c.value) << c.text;
        EXPECT_EQ(other->ParseValue(c.text), 0) << c.text;
    }
    TStatDrawItem v;
    v.Key = {-5, 1, 0, 0};
    EXPECT_EQ(numeric->ValueToText(v), "-5");
}

TEST(CustomStat, FindValueDraw)
{
    Fixture f;
    auto s = f.Create(PlainKind);
    auto value = [](int16_t k0, int16_t k1 = 0) {
        TStatDrawItem v;
        v.Key = {k0, k1, 0, 0};
        v.LastDrawNo = 1;   // only the keys matter
        return v;
    };
    struct Case {
        TStatDrawItem value;
        int fromIndex;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {value(15), 0, 100},
        {value(15), 1, 105},   // the draw number, not the index
        {value(9), 1, 106},
        {value(9), 3, 106},
        {value(20), 0, -1},
        {value(15), 4, -1},    // past the end of the archive
        {value(15), 40, -1},
        // The work area lives through the search: the third draw evaluated is the third run.
        {value(3, 1), 0, 105},
        {value(3, 1), 1, 106},
        {value(4, 1), 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(s->FindValueDraw(c.value, c.fromIndex, 1, false), c.expected)
            << c.value.Key[0] << "/" << c.value.Key[1] << " from " << c.fromIndex;
    // Sorted draws: the first number of draw 0 is then 1.
    EXPECT_EQ(s->FindValueDraw(value(1), 0, 3, true), 100);
}

TEST(CustomStat, DefaultBatchPassesEqualSingleCalls)
{
    Fixture f;
    auto s = f.Create(PlainKind);
    const std::vector<TComb> combs = {
        {1, 2, 3, 4, 5, 6, 7, 8},
        {5, 6, 7, 8, 9, 10, 11, 12},
        {1, 9, 10, 11, 12, 13, 14, 15},
        {20, 1, 2, 3, 4, 5, 6, 7},
    };
    TStatDrawArray batch, single;
    s->CalcCombs(combs, batch);
    for (const TComb& c : combs) s->CalcComb(c, single);
    EXPECT_EQ(batch.Items(), single.Items());
    ASSERT_EQ(batch.Count(), 3);
    EXPECT_EQ(batch[0].Count, 2);

    TStatDrawArray marked;
    marked.Append(TStatDrawItem{.Key = {5, 0, 0, 0}});
    marked.Append(TStatDrawItem{.Key = {20, 0, 0, 0}});
    std::vector<uint8_t> result(10, 7);
    s->MatchCombs(combs, marked, {.LastIndex = 0, .Sorted = false, .Exclude = false}, result);
    EXPECT_EQ(result, (std::vector<uint8_t>{0, 1, 0, 1}));
}

} // namespace
